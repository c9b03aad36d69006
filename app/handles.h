// Scoped owners for the USER handles the shell acquires, so that every
// path out of start-up gives them back.
#pragma once

#include <windows.h>

#include <utility>

namespace kalvoro::app {

// One handle of type H, given back by Release on scope exit.
template <typename H, auto Release>
class Owned {
 public:
  Owned() noexcept = default;
  explicit Owned(H handle) noexcept : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  H get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void reset() noexcept {
    if (handle_ != nullptr) Release(std::exchange(handle_, nullptr));
  }

 private:
  H handle_ = nullptr;
};

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
