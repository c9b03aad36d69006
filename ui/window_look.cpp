#include "ui/window_look.h"

#include <cstddef>
#include <string>

namespace kalvoro::ui {

namespace {

COLORREF colour_ref(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

// The face names as UTF-16: "微软雅黑" and "宋体".
constexpr const wchar_t* kYaHei = L"\u5FAE\u8F6F\u96C5\u9ED1";
constexpr const wchar_t* kSong = L"\u5B8B\u4F53";

// Every named font of the window is asked for with the same fields: bold,
// upright, the face's own width, the default character set and precisions,
// proof quality; only the face and the character height (negative: em
// height in pixels) differ.
HFONT request_font(const wchar_t* face, int height) {
  return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

// A caption of the definition (GBK) as UTF-16.
std::wstring widen_gbk(Text text) {
  const int length = static_cast<int>(text_length(text));
  if (length == 0) return {};
  const int wide = MultiByteToWideChar(936, 0, text, length, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(936, 0, text, length, result.data(), wide);
  return result;
}

// Index of a control of the definition, or -1 for a record from elsewhere.
std::ptrdiff_t index_of(const ControlDef& control) {
  const auto all = controls();
  const std::ptrdiff_t index = &control - all.data();
  return index >= 0 && index < kControlCount ? index : -1;
}

}  // namespace

WindowLook::WindowLook() {
  fonts_[static_cast<std::size_t>(FontId::yahei_14_bold)].reset(request_font(kYaHei, -14));
  fonts_[static_cast<std::size_t>(FontId::yahei_16_bold)].reset(request_font(kYaHei, -16));
  fonts_[static_cast<std::size_t>(FontId::song_16_bold)].reset(request_font(kSong, -16));
  const auto all = controls();
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i].kind == ControlKind::edit_box) {
      brushes_[i].reset(CreateSolidBrush(colour_ref(all[i].look.background)));
    }
  }
}

WindowLook::~WindowLook() = default;

HFONT WindowLook::font_for(const ControlDef& control) const {
  const HFONT own = fonts_[static_cast<std::size_t>(control.look.font)].get();
  return own != nullptr ? own : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void WindowLook::paint_background(HWND window, HDC dc) const {
  RECT client{};
  GetClientRect(window, &client);
  SetDCBrushColor(dc, colour_ref(kBlack));
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void WindowLook::draw_label(const DRAWITEMSTRUCT& item, const ControlDef& control) const {
  const HDC dc = item.hDC;
  RECT area = item.rcItem;

  // Step 1: the whole rectangle in the label's background colour.
  SetDCBrushColor(dc, colour_ref(control.look.background));
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

  // Step 2: nothing more for an empty caption.
  const std::wstring caption = widen_gbk(control.text);
  if (caption.empty()) return;

  // Step 3: font, transparent text background, text colour; all restored
  // before the DC goes back to the system.
  const SelectedObject font(dc, font_for(control));
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = SetTextColor(dc, colour_ref(control.look.text_colour));

  // Step 4: one line, vertically centred; without DT_NOCLIP DrawText cuts
  // the text off at the label's edges.
  const UINT horizontal = control.look.align == Align::centre ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | horizontal);

  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

HBRUSH WindowLook::colour_edit(HDC dc, const ControlDef& control) const {
  SetTextColor(dc, colour_ref(control.look.text_colour));
  SetBkColor(dc, colour_ref(control.look.background));
  const std::ptrdiff_t index = index_of(control);
  if (index >= 0) {
    const HBRUSH own = brushes_[static_cast<std::size_t>(index)].get();
    if (own != nullptr) return own;
  }
  // A record outside the definition has no brush of its own: the DC brush
  // in its background colour stands in.
  SetDCBrushColor(dc, colour_ref(control.look.background));
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

}  // namespace kalvoro::ui
