// Reading what a window shows: a copy of a screen rectangle (from the screen
// DC, so child windows, frames and other processes' windows are all in it)
// as 32-bit pixels, and small helpers to look for colours in it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace kalvoro::test {

struct Colour {
  std::uint8_t red, green, blue;
  friend bool operator==(Colour, Colour) = default;
  friend std::ostream& operator<<(std::ostream& out, Colour c) {
    return out << '(' << int{c.red} << ',' << int{c.green} << ',' << int{c.blue} << ')';
  }
};

inline Colour from_ref(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// Pixels of a screen rectangle, row by row from the top.
class Capture {
 public:
  // `area` in screen coordinates.
  explicit Capture(const RECT& area)
      : left_(area.left),
        top_(area.top),
        width_(area.right - area.left),
        height_(area.bottom - area.top) {
    pixels_.resize(static_cast<std::size_t>(width_ * height_));
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, left_, top_, SRCCOPY);
    GdiFlush();
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
      pixels_[i] = {bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]};
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

  // The pixel at screen point (x, y); must lie in the captured area.
  Colour at(int x, int y) const {
    return pixels_[static_cast<std::size_t>((y - top_) * width_ + (x - left_))];
  }

  // How many pixels of `area` (screen coordinates) satisfy `test`.
  template <class Test>
  int count_if(const RECT& area, Test test) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) n += test(at(x, y)) ? 1 : 0;
    }
    return n;
  }

  // How many pixels of `area` have exactly `colour`.
  int count(const RECT& area, Colour colour) const {
    return count_if(area, [colour](Colour c) { return c == colour; });
  }

  // True when every pixel of `area` is `colour`.
  bool all(const RECT& area, Colour colour) const {
    return count(area, colour) == (area.right - area.left) * (area.bottom - area.top);
  }

 private:
  int left_, top_, width_, height_;
  std::vector<Colour> pixels_;
};

// The screen rectangle of a window, whole (frame included) or client area.
inline RECT window_area(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}
inline RECT client_area(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Runs the calling thread's messages for `milliseconds`, so pending paints
// are done and reach the screen.
inline void pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (GetTickCount64() < end);
}

}  // namespace kalvoro::test
