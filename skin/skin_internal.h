// Internals of the skinning service shared by its service part (hook,
// subclassing, registry) and its painters.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace kalvoro::skin::detail {

// The standard controls the service restyles.
enum class Kind : std::uint8_t {
  push_button,
  check_box,
  radio_button,
  group_box,
  edit,
  combo_box,
  up_down
};

// The kind of a window of class `class_name` with window style `style`, or
// nothing for a window the service leaves alone (labels, owner-drawn
// buttons, list boxes, any window class of its own, ...). `parent_class`
// is the class of the parent window: the edit field inside a combo box
// belongs to the combo box's look and is left alone.
std::optional<Kind> classify(const wchar_t* class_name, LONG_PTR style,
                             const wchar_t* parent_class);

// Visual states of a push button, in the order of Scheme's face tables.
enum class ButtonState : std::uint8_t { normal, hot, pressed, disabled };

// One colour scheme. Faces run as vertical gradients from `top` to
// `bottom`.
struct Scheme {
  COLORREF face_top[4];     // by ButtonState
  COLORREF face_bottom[4];  // by ButtonState
  COLORREF border[4];       // by ButtonState
  COLORREF focus;           // inner ring of the focused button
  COLORREF text;
  COLORREF text_disabled;
  COLORREF frame;  // flat one-pixel frame of edit and combo boxes
  COLORREF mark;   // check mark, radio dot, up-down arrows
};

// The scheme of an active style (1 blue, 2 olive green, 3 silver).
const Scheme& scheme_for(int style);

// What the service keeps for one restyled window.
struct Skinned {
  HWND window = nullptr;
  WNDPROC original = nullptr;  // the procedure before subclassing
  Kind kind{};
  const Scheme* scheme = nullptr;
  LONG_PTR style = 0, ex_style = 0;  // as found, restored on switch-off
  bool restyled = false;             // frame styles changed (edit boxes)
  bool hot = false;                  // mouse over the control
  bool tracking = false;             // TrackMouseEvent pending
  bool detached = false;             // switched off while another subclass sat on top
};

// Painters. Each draws the whole control (or its frame) into `dc`.
void paint_button_like(const Skinned& control, HDC dc);  // push, check, radio, group
void paint_edit_frame(const Skinned& control, HDC window_dc);
void paint_combo_frame(const Skinned& control, HDC dc);
void paint_up_down(const Skinned& control, HDC dc);

// The state a push button is drawn in.
ButtonState push_button_state(const Skinned& control);

// The flat frame of edit boxes is this wide on each side: one pixel of
// frame colour and one pixel of inner margin.
inline constexpr int kEditFrameWidth = 2;

}  // namespace kalvoro::skin::detail
