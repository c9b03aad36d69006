// Scoped GDI handles for the paint paths of the window: an owned object
// (font, brush) deleted with its owner, and a selection into a DC that is
// undone at scope exit.
#pragma once

#include <windows.h>

#include <utility>

namespace kalvoro::ui {

// Owns one GDI object (HFONT, HBRUSH, ...). A null handle owns nothing.
template <class Handle>
class GdiObject {
 public:
  GdiObject() noexcept = default;
  explicit GdiObject(Handle handle) noexcept : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiObject() { reset(); }

  Handle get() const noexcept { return handle_; }
  void reset(Handle handle = nullptr) noexcept {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

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
