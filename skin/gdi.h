// Scoped GDI and USER handles for the skin's paint paths.
#pragma once

#include <windows.h>

#include <utility>

namespace kalvoro::skin::detail {

// Owns one GDI object (pen, brush, region, bitmap). A null handle owns
// nothing.
template <class Handle>
class GdiObject {
 public:
  GdiObject() noexcept = default;
  explicit GdiObject(Handle handle) noexcept : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      if (handle_ != nullptr) DeleteObject(handle_);
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~GdiObject() {
    if (handle_ != nullptr) DeleteObject(handle_);
  }
  Handle get() const noexcept { return handle_; }

 private:
  Handle handle_ = nullptr;
};

// Selects an object into a DC for the lifetime of the scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, previous_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GetDC / GetWindowDC paired with ReleaseDC.
class WindowDc {
 public:
  WindowDc(HWND window, bool whole_window) noexcept
      : window_(window), dc_(whole_window ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint paired with EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An off-screen bitmap of a given size compatible with `target`; the
// picture is composed there and copied to the target in one step, so a
// control never shows half-drawn states.
class Canvas {
 public:
  Canvas(HDC target, int width, int height) noexcept
      : target_(target),
        width_(width),
        height_(height),
        dc_(CreateCompatibleDC(target)),
        bitmap_(CreateCompatibleBitmap(target, width, height)),
        previous_(SelectObject(dc_, bitmap_.get())) {}
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC get() const noexcept { return dc_; }
  void copy_to_target() const { BitBlt(target_, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY); }

 private:
  HDC target_;
  int width_, height_;
  HDC dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ previous_;
};

}  // namespace kalvoro::skin::detail
