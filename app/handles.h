// Scoped owners for the USER handles the shell acquires, so that every
// path out of start-up gives them back.
#pragma once

#include <windows.h>

#include "ui/win_handle.h"

namespace kalvoro::app {

using ui::Owned;

using OwnedIcon = Owned<HICON, &DestroyIcon>;
using OwnedWindow = Owned<HWND, &DestroyWindow>;

// A registered window class, unregistered on scope exit.
class RegisteredClass {
 public:
  RegisteredClass() noexcept = default;
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;
  ~RegisteredClass() {
    if (atom_ != 0) UnregisterClassW(MAKEINTATOM(atom_), instance_);
  }
  // Registers `wc`; false when the system refuses it.
  bool register_class(const WNDCLASSEXW& wc) noexcept {
    atom_ = RegisterClassExW(&wc);
    instance_ = wc.hInstance;
    return atom_ != 0;
  }
  LPCWSTR name() const noexcept { return MAKEINTATOM(atom_); }

 private:
  ATOM atom_ = 0;
  HINSTANCE instance_ = nullptr;
};

}  // namespace kalvoro::app
