// The look of MainWindow on Windows: fonts, the black panel, self-painted
// labels and the colours of the edit boxes, all taken from the window
// definition. The window procedure forwards the matching messages here.
#pragma once

#include <windows.h>

#include <array>

#include "ui/win_handle.h"
#include "ui/window_definition.h"

namespace kalvoro::ui {

class WindowLook {
 public:
  // Requests the fonts of the definition (face, height, weight 700, proof
  // quality) and one solid background brush per edit box.
  WindowLook();
  ~WindowLook();
  WindowLook(const WindowLook&) = delete;
  WindowLook& operator=(const WindowLook&) = delete;

  // The font a control is given at creation (WM_SETFONT).
  HFONT font_for(const ControlDef& control) const;

  // WM_ERASEBKGND of MainWindow: fills the whole client area black.
  void paint_background(HWND window, HDC dc) const;

  // WM_DRAWITEM of a label (created as an owner-drawn static): fill, then the
  // caption on one line, vertically centred, transparent background.
  void draw_label(const DRAWITEMSTRUCT& item, const ControlDef& control) const;

  // WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC of an edit box (read-only boxes send
  // the latter): sets text and background colours on `dc` and gives the box's
  // own brush.
  HBRUSH colour_edit(HDC dc, const ControlDef& control) const;

 private:
  // By FontId; default_gui stays empty (the stock font is never deleted).
  std::array<GdiObject<HFONT>, 4> fonts_{};
  std::array<GdiObject<HBRUSH>, kControlCount> brushes_{};  // edit boxes only
};

}  // namespace kalvoro::ui
