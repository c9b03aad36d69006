// The window's look on its own: the fonts as requested, the edit colours
// and their brushes, label painting into an off-screen bitmap (fill, one
// centred line, cut at the label's edge, the DC left as found), the black
// background; and the icons the main window is given.
#include "ui/window_look.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "app/main_window.h"
#include "ui/window_definition.h"

namespace kalvoro::ui {
namespace {

constexpr COLORREF kMarker = RGB(255, 0, 255);  // never drawn by the look

const ControlDef& first_with(FontId font) {
  for (const ControlDef& c : controls()) {
    if (c.look.font == font) return c;
  }
  ADD_FAILURE() << "no control with font " << static_cast<int>(font);
  return controls()[0];
}

// A 32-bit off-screen bitmap filled with the marker colour.
class Bitmap {
 public:
  Bitmap(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    const HBRUSH marker = CreateSolidBrush(kMarker);
    FillRect(dc_, &all, marker);
    DeleteObject(marker);
  }
  ~Bitmap() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

TEST(WindowLook, RequestsEachFontWithTheLogicalFontFields) {
  const WindowLook look;
  struct Row {
    FontId font;
    const wchar_t* face;
    LONG height;
  };
  const Row rows[] = {
      {FontId::yahei_14_bold, L"\u5FAE\u8F6F\u96C5\u9ED1", -14},
      {FontId::yahei_16_bold, L"\u5FAE\u8F6F\u96C5\u9ED1", -16},
      {FontId::song_16_bold, L"\u5B8B\u4F53", -16},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.font));
    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(look.font_for(first_with(row.font)), sizeof(font), &font),
              int{sizeof(font)});
    EXPECT_STREQ(font.lfFaceName, row.face);
    EXPECT_EQ(font.lfHeight, row.height);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_FALSE(font.lfItalic);
    EXPECT_FALSE(font.lfUnderline);
    EXPECT_FALSE(font.lfStrikeOut);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(font.lfOutPrecision, OUT_DEFAULT_PRECIS);
    EXPECT_EQ(font.lfClipPrecision, CLIP_DEFAULT_PRECIS);
    EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(font.lfPitchAndFamily, DEFAULT_PITCH | FF_DONTCARE);
  }
  // The "—" labels and the buttons use the system's default GUI font.
  EXPECT_EQ(look.font_for(first_with(FontId::default_gui)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST(WindowLook, EditBoxesGetTheirColoursAndEachItsOwnLastingBrush) {
  const WindowLook look;
  const Bitmap canvas(4, 4);
  std::set<HBRUSH> brushes;
  for (const ControlDef& c : controls()) {
    if (c.kind != ControlKind::edit_box) continue;
    SCOPED_TRACE(c.name);
    const HBRUSH brush = look.colour_edit(canvas.dc(), c);
    EXPECT_EQ(GetTextColor(canvas.dc()), c.read_only ? RGB(0, 255, 255) : RGB(0, 255, 0));
    EXPECT_EQ(GetBkColor(canvas.dc()), RGB(0, 0, 0));
    LOGBRUSH logical{};
    ASSERT_EQ(GetObjectW(brush, sizeof(logical), &logical), int{sizeof(logical)});
    EXPECT_EQ(logical.lbStyle, BS_SOLID);
    EXPECT_EQ(logical.lbColor, RGB(0, 0, 0));
    EXPECT_EQ(look.colour_edit(canvas.dc(), c), brush) << "the same brush every time";
    brushes.insert(brush);
  }
  EXPECT_EQ(brushes.size(), 15u) << "one brush per box";
}

// Paints `label` into a bitmap with a 10-pixel marker border around the
// item rectangle of `width` pixels (the label's own width by default).
struct Painted {
  Bitmap bitmap;
  RECT item;
};
Painted paint(const WindowLook& look, const ControlDef& label, int width) {
  Painted p{Bitmap(width + 20, label.height + 20), RECT{10, 10, 10 + width, 10 + label.height}};
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.itemAction = ODA_DRAWENTIRE;
  item.hDC = p.bitmap.dc();
  item.rcItem = p.item;
  look.draw_label(item, label);
  return p;
}

// Every label: its rectangle filled black, nothing drawn outside it, the
// caption in its colour on one line, vertically centred, centred or left
// as its group says; the DC's mode, colour and font left as found.
TEST(WindowLook, PaintsLabelsInsideTheirRectangle) {
  const WindowLook look;
  for (const ControlDef& c : controls()) {
    if (c.kind != ControlKind::label) continue;
    SCOPED_TRACE(c.name);
    Bitmap probe(1, 1);
    const HGDIOBJ font_before = GetCurrentObject(probe.dc(), OBJ_FONT);
    DRAWITEMSTRUCT item{};
    item.hDC = probe.dc();
    item.rcItem = {0, 0, 1, 1};
    look.draw_label(item, c);
    EXPECT_EQ(GetBkMode(probe.dc()), OPAQUE);
    EXPECT_EQ(GetTextColor(probe.dc()), RGB(0, 0, 0));
    EXPECT_EQ(GetCurrentObject(probe.dc(), OBJ_FONT), font_before);

    const Painted p = paint(look, c, c.width);
    const Bitmap& b = p.bitmap;
    int left = b.width(), right = -1, top = b.height(), bottom = -1;
    for (int y = 0; y < b.height(); ++y) {
      for (int x = 0; x < b.width(); ++x) {
        const POINT point{x, y};
        const COLORREF colour = b.at(x, y);
        if (!PtInRect(&p.item, point)) {
          ASSERT_EQ(colour, kMarker) << "drawn outside at " << x << "," << y;
          continue;
        }
        if (colour == RGB(0, 0, 0)) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, left) << "no caption";
    EXPECT_EQ(b.at(p.item.left, p.item.top), RGB(0, 0, 0)) << "filled";
    // Vertically centred: the ink's middle within 2 pixels of the label's
    // (a line drawn from the top would sit 3 or more pixels high).
    EXPECT_LE(std::abs((top + bottom + 1) - (p.item.top + p.item.bottom)), 4)
        << "ink rows " << top - p.item.top << ".." << bottom - p.item.top << " of " << c.height;
    if (c.look.align == Align::centre && right - left + 1 < c.width) {
      EXPECT_LE(std::abs((left - p.item.left) - (p.item.right - 1 - right)), 3) << "centred";
    } else if (c.look.align == Align::left) {
      EXPECT_LE(left - p.item.left, 3) << "left-aligned";
    }
  }
}

TEST(WindowLook, CutsACaptionAtTheLabelEdgeAndStopsAtAnEmptyOne) {
  const WindowLook look;
  const ControlDef& arrow = controls()[34];  // 标签15, "============>"
  ASSERT_STREQ(arrow.name, "标签15");
  {
    SCOPED_TRACE("caption wider than the label");
    const Painted p = paint(look, arrow, 30);
    for (int y = 0; y < p.bitmap.height(); ++y) {
      for (int x = p.item.right; x < p.bitmap.width(); ++x) {
        ASSERT_EQ(p.bitmap.at(x, y), kMarker) << x << "," << y;
      }
    }
  }
  {
    SCOPED_TRACE("empty caption: the fill only");
    ControlDef empty = arrow;
    empty.text = "";
    const Painted p = paint(look, empty, empty.width);
    for (int y = p.item.top; y < p.item.bottom; ++y) {
      for (int x = p.item.left; x < p.item.right; ++x) {
        ASSERT_EQ(p.bitmap.at(x, y), RGB(0, 0, 0)) << x << "," << y;
      }
    }
  }
}

TEST(WindowLook, FillsTheWholeClientAreaBlack) {
  const WindowLook look;
  const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 60, 40, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const Bitmap b(80, 50);
  look.paint_background(window, b.dc());
  for (int y = 0; y < b.height(); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      ASSERT_EQ(b.at(x, y), x < 60 && y < 40 ? RGB(0, 0, 0) : kMarker) << x << "," << y;
    }
  }
  DestroyWindow(window);
}

// The main window's class carries the 32-pixel image of the program's icon
// as its large and small icon. (The resource is linked into this test too;
// another process's class icons cannot be read under Wine.)
TEST(MainWindowIcon, IsTheThirtyTwoPixelImage) {
  app::MainWindow window;
  ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
  for (const int which : {GCLP_HICON, GCLP_HICONSM}) {
    SCOPED_TRACE(which == GCLP_HICON ? "large" : "small");
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(window.hwnd(), which));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_NE(GetObjectW(info.hbmColor, sizeof(colour), &colour), 0);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

}  // namespace
}  // namespace kalvoro::ui
