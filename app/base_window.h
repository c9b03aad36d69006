// A window procedure that forwards to an object: `this` travels in the
// creation parameters, is stored at WM_NCCREATE and every later message goes
// to handle_message of that object.
#pragma once

#include <windows.h>

namespace kalvoro::app {

class BaseWindow {
 public:
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  HWND hwnd() const noexcept { return hwnd_; }

 protected:
  BaseWindow() = default;
  ~BaseWindow() = default;

  // The procedure to put in the window class.
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Creates the window with this object behind it.
  HWND create(DWORD ex_style, LPCWSTR class_name, LPCWSTR title, DWORD style, int x, int y,
              int width, int height, HINSTANCE instance);

  // Messages after WM_NCCREATE; the default is DefWindowProcW.
  virtual LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace kalvoro::app
