// The skin's drawing: colour schemes and the painters of each control kind.
// Everything is plain GDI; gradients are drawn one scan line at a time.
#include <windows.h>
// After windows.h: for the up-down style bits only (no import).
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "skin/gdi.h"
#include "skin/skin_internal.h"

namespace kalvoro::skin::detail {

namespace {

// Tables by ButtonState: normal, hot, pressed, disabled. The pressed face
// runs dark to light, the others light to dark, so a press reads as the
// face sinking in.
constexpr Scheme kBlue{
    {RGB(240, 246, 255), RGB(250, 252, 255), RGB(150, 178, 228), RGB(228, 232, 240)},
    {RGB(176, 200, 240), RGB(196, 220, 255), RGB(214, 228, 250), RGB(228, 232, 240)},
    {RGB(56, 92, 168), RGB(40, 112, 220), RGB(32, 64, 140), RGB(170, 180, 200)},
    RGB(255, 190, 60),
    RGB(0, 24, 64),
    RGB(150, 158, 176),
    RGB(127, 157, 185),
    RGB(33, 70, 160)};
constexpr Scheme kOlive{
    {RGB(246, 248, 236), RGB(252, 253, 244), RGB(170, 186, 128), RGB(232, 234, 226)},
    {RGB(196, 208, 160), RGB(212, 224, 170), RGB(226, 232, 204), RGB(232, 234, 226)},
    {RGB(110, 128, 72), RGB(140, 160, 70), RGB(90, 104, 56), RGB(180, 186, 170)},
    RGB(230, 170, 60),
    RGB(40, 48, 20),
    RGB(156, 160, 146),
    RGB(164, 185, 127),
    RGB(86, 110, 40)};
constexpr Scheme kSilver{
    {RGB(250, 250, 252), RGB(255, 255, 255), RGB(184, 186, 200), RGB(236, 236, 238)},
    {RGB(204, 206, 218), RGB(220, 226, 242), RGB(230, 231, 238), RGB(236, 236, 238)},
    {RGB(122, 124, 146), RGB(96, 112, 168), RGB(88, 90, 116), RGB(180, 180, 188)},
    RGB(120, 140, 210),
    RGB(24, 24, 32),
    RGB(150, 150, 158),
    RGB(166, 166, 196),
    RGB(48, 56, 96)};

// Corner ellipse of the rounded faces, in pixels.
constexpr int kCorner = 6;

// Side of the square of check boxes and the circle of radio buttons.
constexpr int kMarkBox = 13;

int channel_between(int from, int to, int step, int steps) {
  return from + (to - from) * step / std::max(steps, 1);
}

COLORREF colour_between(COLORREF from, COLORREF to, int step, int steps) {
  return RGB(channel_between(GetRValue(from), GetRValue(to), step, steps),
             channel_between(GetGValue(from), GetGValue(to), step, steps),
             channel_between(GetBValue(from), GetBValue(to), step, steps));
}

void fill(HDC dc, const RECT& area, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void frame(HDC dc, const RECT& area, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A vertical gradient over `area`, first line `top`, last line `bottom`.
void vertical_gradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
  const int lines = area.bottom - area.top;
  for (int i = 0; i < lines; ++i) {
    const RECT line{area.left, area.top + i, area.right, area.top + i + 1};
    fill(dc, line, colour_between(top, bottom, i, lines - 1));
  }
}

// The parent's background behind the control, as themed controls get it:
// the parent erases into our DC shifted to the control's place. Parents
// that do not erase leave the button-face colour.
void parent_background(HWND window, HDC dc, const RECT& area) {
  const HWND parent = GetParent(window);
  bool erased = false;
  if (parent != nullptr) {
    POINT origin{0, 0};
    MapWindowPoints(window, parent, &origin, 1);
    POINT previous{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    erased = SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
  }
  if (!erased) FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
}

std::wstring caption_of(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

HFONT font_of(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool shows_focus(HWND window) {
  if (GetFocus() != window) return false;
  const auto ui_state = SendMessageW(window, WM_QUERYUISTATE, 0, 0);
  return (ui_state & UISF_HIDEFOCUS) == 0;
}

// Caption text in `area`: centred both ways for push buttons, wrapped onto
// more lines only where the button asks for it (BS_MULTILINE).
void draw_caption(HDC dc, const std::wstring& text, RECT area, UINT horizontal, bool multiline) {
  if (text.empty()) return;
  const int length = static_cast<int>(text.size());
  if (!multiline) {
    DrawTextW(dc, text.c_str(), length, &area, horizontal | DT_SINGLELINE | DT_VCENTER);
    return;
  }
  RECT measured = area;
  DrawTextW(dc, text.c_str(), length, &measured, horizontal | DT_WORDBREAK | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  area.top += std::max(0L, (area.bottom - area.top - height) / 2);
  DrawTextW(dc, text.c_str(), length, &area, horizontal | DT_WORDBREAK);
}

void paint_push_button(const Skinned& control, HDC target, const RECT& client) {
  const int width = client.right, height = client.bottom;
  const Canvas canvas(target, width, height);
  const HDC dc = canvas.get();
  const Scheme& scheme = *control.scheme;
  const ButtonState state = push_button_state(control);
  const auto index = static_cast<std::size_t>(state);

  // Step 1: the parent shows in the rounded-off corners.
  parent_background(control.window, dc, client);

  // Step 2: the face, a gradient clipped to the rounded outline.
  const GdiObject<HRGN> outline(CreateRoundRectRgn(0, 0, width + 1, height + 1, kCorner, kCorner));
  SelectClipRgn(dc, outline.get());
  vertical_gradient(dc, client, scheme.face_top[index], scheme.face_bottom[index]);
  SelectClipRgn(dc, nullptr);

  // Step 3: the border; a default button has it two pixels wide.
  const GdiObject<HBRUSH> border(CreateSolidBrush(scheme.border[index]));
  FrameRgn(dc, outline.get(), border.get(), 1, 1);
  const LONG_PTR style = GetWindowLongPtrW(control.window, GWL_STYLE);
  int inset = 1;
  if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && state != ButtonState::disabled) {
    const GdiObject<HRGN> inner(CreateRoundRectRgn(1, 1, width, height, kCorner, kCorner));
    FrameRgn(dc, inner.get(), border.get(), 1, 1);
    inset = 2;
  }

  // Step 4: the focus ring just inside the border.
  if (state != ButtonState::disabled && shows_focus(control.window)) {
    const GdiObject<HRGN> ring(CreateRoundRectRgn(inset, inset, width - inset + 1,
                                                  height - inset + 1, kCorner - 2, kCorner - 2));
    const GdiObject<HBRUSH> focus(CreateSolidBrush(scheme.focus));
    FrameRgn(dc, ring.get(), focus.get(), 1, 1);
  }

  // Step 5: the caption in the button's font, nudged down-right while
  // pressed.
  const Selected font(dc, font_of(control.window));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, state == ButtonState::disabled ? scheme.text_disabled : scheme.text);
  RECT text_area{3, 2, width - 3, height - 2};
  if (state == ButtonState::pressed) OffsetRect(&text_area, 1, 1);
  draw_caption(dc, caption_of(control.window), text_area, DT_CENTER, (style & BS_MULTILINE) != 0);

  canvas.copy_to_target();
}

// Check boxes and radio buttons: a flat mark in the scheme's tones, then
// the caption in the colours the parent gives (WM_CTLCOLORSTATIC, as for
// the standard control).
void paint_check_or_radio(const Skinned& control, HDC target, const RECT& client) {
  const Canvas canvas(target, client.right, client.bottom);
  const HDC dc = canvas.get();
  const Scheme& scheme = *control.scheme;
  const HWND window = control.window;
  const Selected font(dc, font_of(window));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(window), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(window)));
  FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));

  const auto button_state = static_cast<UINT>(SendMessageW(window, BM_GETSTATE, 0, 0));
  const bool enabled = IsWindowEnabled(window) != FALSE;
  const ButtonState state = !enabled                           ? ButtonState::disabled
                            : (button_state & BST_PUSHED) != 0 ? ButtonState::pressed
                            : control.hot                      ? ButtonState::hot
                                                               : ButtonState::normal;
  const auto index = static_cast<std::size_t>(state);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const bool mark_right = (style & BS_LEFTTEXT) != 0;

  const int top = (client.bottom - kMarkBox) / 2;
  const int left = mark_right ? client.right - kMarkBox : 0;
  const RECT box{left, top, left + kMarkBox, top + kMarkBox};
  const GdiObject<HRGN> shape(
      control.kind == Kind::radio_button
          ? CreateEllipticRgn(box.left, box.top, box.right + 1, box.bottom + 1)
          : CreateRectRgn(box.left, box.top, box.right, box.bottom));
  SelectClipRgn(dc, shape.get());
  vertical_gradient(dc, box,
                    state == ButtonState::pressed ? scheme.face_top[index] : RGB(255, 255, 255),
                    scheme.face_bottom[index]);
  SelectClipRgn(dc, nullptr);
  const GdiObject<HBRUSH> border(CreateSolidBrush(scheme.border[index]));
  FrameRgn(dc, shape.get(), border.get(), 1, 1);

  const COLORREF mark = enabled ? scheme.mark : scheme.text_disabled;
  const UINT check = button_state & (BST_CHECKED | BST_INDETERMINATE);
  if (control.kind == Kind::radio_button && check != 0) {
    const GdiObject<HRGN> dot(
        CreateEllipticRgn(box.left + 4, box.top + 4, box.right - 3, box.bottom - 3));
    const GdiObject<HBRUSH> dot_brush(CreateSolidBrush(mark));
    FillRgn(dc, dot.get(), dot_brush.get());
  } else if ((check & BST_INDETERMINATE) != 0) {
    fill(dc, RECT{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3}, mark);
  } else if ((check & BST_CHECKED) != 0) {
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, mark));
    const Selected selected_pen(dc, pen.get());
    const POINT tick[3]{
        {box.left + 3, box.top + 6}, {box.left + 5, box.top + 9}, {box.left + 10, box.top + 3}};
    Polyline(dc, tick, 3);
  }

  RECT text_area = client;
  if (mark_right) {
    text_area.right -= kMarkBox + 4;
  } else {
    text_area.left += kMarkBox + 4;
  }
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) SetTextColor(dc, scheme.text_disabled);
  const std::wstring text = caption_of(window);
  draw_caption(dc, text, text_area, mark_right ? DT_RIGHT : DT_LEFT, (style & BS_MULTILINE) != 0);
  if (!text.empty() && shows_focus(window)) {
    RECT measured = text_area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_SINGLELINE | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    RECT ring{text_area.left - 1, (client.bottom - height) / 2 - 1,
              text_area.left + (measured.right - measured.left) + 1,
              (client.bottom + height) / 2 + 1};
    DrawFocusRect(dc, &ring);
  }
  canvas.copy_to_target();
}

// Group boxes stay transparent inside: only the frame and the caption
// with its background are drawn.
void paint_group_box(const Skinned& control, HDC dc, const RECT& client) {
  const HWND window = control.window;
  const Selected font(dc, font_of(window));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(window), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(window)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const RECT outline{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
  frame(dc, outline, control.scheme->frame);

  const std::wstring text = caption_of(window);
  if (text.empty()) return;
  RECT caption{8, 0, client.right - 8, metrics.tmHeight};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_SINGLELINE | DT_CALCRECT);
  caption.right = std::min(caption.right + 4, client.right - 4);
  caption.left -= 2;
  FillRect(dc, &caption, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(window)) SetTextColor(dc, control.scheme->text_disabled);
  caption.left += 2;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, DT_SINGLELINE);
}

// One half of an up-down control: a small gradient face with a triangle.
void paint_arrow_face(HDC dc, const Scheme& scheme, const RECT& face, ButtonState state,
                      int direction) {
  const auto index = static_cast<std::size_t>(state);
  vertical_gradient(dc, face, scheme.face_top[index], scheme.face_bottom[index]);
  frame(dc, face, scheme.border[index]);
  // direction: 0 up, 1 down, 2 left, 3 right. The triangle is 7 wide and
  // 4 high (or the transposes), centred in the face.
  const int cx = (face.left + face.right) / 2, cy = (face.top + face.bottom) / 2;
  POINT points[3]{};
  switch (direction) {
    case 0:
      points[0] = {cx - 3, cy + 2};
      points[1] = {cx + 3, cy + 2};
      points[2] = {cx, cy - 1};
      break;
    case 1:
      points[0] = {cx - 3, cy - 1};
      points[1] = {cx + 3, cy - 1};
      points[2] = {cx, cy + 2};
      break;
    case 2:
      points[0] = {cx + 2, cy - 3};
      points[1] = {cx + 2, cy + 3};
      points[2] = {cx - 1, cy};
      break;
    default:
      points[0] = {cx - 1, cy - 3};
      points[1] = {cx - 1, cy + 3};
      points[2] = {cx + 2, cy};
      break;
  }
  const COLORREF mark = state == ButtonState::disabled ? scheme.text_disabled : scheme.mark;
  const GdiObject<HBRUSH> brush(CreateSolidBrush(mark));
  const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, mark));
  const Selected selected_brush(dc, brush.get());
  const Selected selected_pen(dc, pen.get());
  Polygon(dc, points, 3);
}

}  // namespace

const Scheme& scheme_for(int style) {
  switch (style) {
    case 1:
      return kBlue;
    case 2:
      return kOlive;
    default:
      return kSilver;
  }
}

ButtonState push_button_state(const Skinned& control) {
  if (!IsWindowEnabled(control.window)) return ButtonState::disabled;
  const auto state = static_cast<UINT>(SendMessageW(control.window, BM_GETSTATE, 0, 0));
  if ((state & BST_PUSHED) != 0) return ButtonState::pressed;
  return control.hot ? ButtonState::hot : ButtonState::normal;
}

void paint_button_like(const Skinned& control, HDC dc) {
  RECT client{};
  GetClientRect(control.window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  switch (control.kind) {
    case Kind::push_button:
      paint_push_button(control, dc, client);
      break;
    case Kind::check_box:
    case Kind::radio_button:
      paint_check_or_radio(control, dc, client);
      break;
    case Kind::group_box:
      paint_group_box(control, dc, client);
      break;
    default:
      break;
  }
}

void paint_edit_frame(const Skinned& control, HDC window_dc) {
  RECT whole{};
  GetWindowRect(control.window, &whole);
  OffsetRect(&whole, -whole.left, -whole.top);
  frame(window_dc, whole, control.scheme->frame);
  InflateRect(&whole, -1, -1);
  const LONG_PTR style = GetWindowLongPtrW(control.window, GWL_STYLE);
  const bool input = (style & ES_READONLY) == 0 && IsWindowEnabled(control.window);
  frame(window_dc, whole, GetSysColor(input ? COLOR_WINDOW : COLOR_BTNFACE));
}

void paint_combo_frame(const Skinned& control, HDC dc) {
  RECT client{};
  GetClientRect(control.window, &client);
  frame(dc, client, control.scheme->frame);
  InflateRect(&client, -1, -1);
  frame(dc, client, GetSysColor(IsWindowEnabled(control.window) ? COLOR_WINDOW : COLOR_BTNFACE));
}

void paint_up_down(const Skinned& control, HDC target) {
  RECT client{};
  GetClientRect(control.window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  const Canvas canvas(target, client.right, client.bottom);
  const HDC dc = canvas.get();
  parent_background(control.window, dc, client);

  const bool horizontal = (GetWindowLongPtrW(control.window, GWL_STYLE) & UDS_HORZ) != 0;
  RECT first = client, second = client;
  if (horizontal) {
    first.right = second.left = client.right / 2;
  } else {
    first.bottom = second.top = client.bottom / 2;
  }
  // The half under the mouse is hot, or pressed while the control holds
  // the mouse with the left button down.
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(control.window, &cursor);
  const bool enabled = IsWindowEnabled(control.window) != FALSE;
  const bool pressing = GetCapture() == control.window && (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
  const auto state_of = [&](const RECT& face) {
    if (!enabled) return ButtonState::disabled;
    if (!PtInRect(&face, cursor)) return ButtonState::normal;
    if (pressing) return ButtonState::pressed;
    return control.hot ? ButtonState::hot : ButtonState::normal;
  };
  paint_arrow_face(dc, *control.scheme, first, state_of(first), horizontal ? 2 : 0);
  paint_arrow_face(dc, *control.scheme, second, state_of(second), horizontal ? 3 : 1);
  canvas.copy_to_target();
}

}  // namespace kalvoro::skin::detail
