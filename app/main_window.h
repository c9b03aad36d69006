// MainWindow on Windows: the top-level window and its 36 controls, built
// from the window definition, with the window's own keys, the focus memory
// and the clicks of the buttons. The look is ui::WindowLook's.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "app/base_window.h"
#include "app/handles.h"
#include "ui/win_boxes.h"
#include "ui/window_definition.h"
#include "ui/window_look.h"

namespace kalvoro::app {

class MainWindow final : public BaseWindow {
 public:
  MainWindow();
  ~MainWindow();

  // Creates the window, hidden, and every control (visible children, in
  // definition order, which is also their stacking order), and attaches the
  // boxes for read_text / write_text. False when any of it fails; nothing
  // is left behind then.
  bool create(HINSTANCE instance);

  // Shows the window in its normal state and activates it; activation puts
  // the focus in 编辑框1.
  void show();

  // The window's pre-processing of a queued message: true when the message
  // is consumed (a window key, or a key withheld by a key-down handler).
  bool preprocess(const MSG& message);

 protected:
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool create_controls(HINSTANCE instance);
  int control_of(HWND window) const;  // index into controls(), or -1
  int focused_control() const;

  // Decoded messages.
  void on_activate(bool active);
  void on_set_focus();
  void on_command(int id, int code);
  void on_close();
  void on_destroy();
  bool on_draw_item(const DRAWITEMSTRUCT& item);
  LRESULT on_colour(HDC dc, HWND control, UINT message, WPARAM wparam, LPARAM lparam);

  void move_focus(int step);
  void restore_focus();

  ui::WindowLook look_;
  OwnedIcon icon_;
  RegisteredClass class_;
  std::array<HWND, ui::kControlCount> controls_{};
  ui::WinBoxes boxes_{controls_};
  HWND remembered_focus_ = nullptr;
  // Set once the window is complete: the destruction of a half-built window
  // must not post the quit request, which would end the fatal failure box.
  bool quit_on_destroy_ = false;
};

}  // namespace kalvoro::app
