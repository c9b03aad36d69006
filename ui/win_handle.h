// Scoped owners for Win32 handles, so that every path out of start-up and
// every paint path gives back what it took: an owned handle released on
// scope exit, and a selection into a DC undone at scope exit.
#pragma once

#include <windows.h>

#include <utility>

namespace kalvoro::ui {

// One handle of type H, given back by Release on scope exit. A null handle
// owns nothing.
template <typename H, auto Release>
class Owned {
 public:
  Owned() noexcept = default;
  explicit Owned(H handle) noexcept : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  H get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  // Gives back the handle held and takes `handle` instead.
  void reset(H handle = nullptr) noexcept {
    if (handle_ != nullptr) Release(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};

// A GDI object (HFONT, HBRUSH, ...) deleted with its owner.
template <typename H>
using GdiObject = Owned<H, &DeleteObject>;

// Selects an object into a DC for the lifetime of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kalvoro::ui
