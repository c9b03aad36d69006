#include "app/base_window.h"

namespace kalvoro::app {

HWND BaseWindow::create(DWORD ex_style, LPCWSTR class_name, LPCWSTR title, DWORD style, int x,
                        int y, int width, int height, HINSTANCE instance) {
  return CreateWindowExW(ex_style, class_name, title, style, x, y, width, height, nullptr, nullptr,
                         instance, this);
}

LRESULT BaseWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK BaseWindow::window_procedure(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  BaseWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    self = static_cast<BaseWindow*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object yet.
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  const LRESULT result = self->handle_message(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace kalvoro::app
