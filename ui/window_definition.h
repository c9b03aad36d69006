// MainWindow as data: the 36 controls with their kind, name, place, size,
// initial text, row, appearance and bound events, in definition order.
// Everything that creates, stacks, orders the focus of, paints or dispatches
// to the controls reads this one table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "calc/boxes.h"
#include "calc/text.h"

namespace kalvoro::ui {

enum class ControlKind : std::uint8_t { label, edit_box, button };

// The fonts a control can ask for (face, character height, weight); each is
// requested once per window.
enum class FontId : std::uint8_t {
  default_gui,    // the system's default GUI font
  yahei_14_bold,  // "微软雅黑", height -14, weight 700
  yahei_16_bold,  // "微软雅黑", height -16, weight 700
  song_16_bold,   // "宋体", height -16, weight 700
};

enum class Align : std::uint8_t { left, centre };

struct Rgb {
  std::uint8_t red, green, blue;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kCaptionGrey{236, 236, 236};
inline constexpr Rgb kResultPeach{255, 213, 170};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kArrowOrange{255, 128, 0};

struct Appearance {
  Rgb text_colour;
  Rgb background;
  FontId font;
  Align align;
};

using ClickHandler = void (*)();
using KeyDownHandler = void (*)(std::int32_t key_code, std::int32_t modifier_state);

struct ControlDef {
  ControlKind kind;
  const char* name;  // UTF-8, e.g. "编辑框9"
  int left, top, width, height;
  Text text;  // initial text, GBK
  int row;    // calculator row 1..3
  Appearance look;
  bool read_only = false;                // edit boxes only
  std::optional<EditBox> box{};          // edit boxes only
  ClickHandler on_click = nullptr;       // buttons only
  KeyDownHandler on_key_down = nullptr;  // 编辑框1 only

  constexpr bool tab_stop() const { return kind != ControlKind::label; }
};

inline constexpr int kControlCount = 36;
inline constexpr int kFocusCount = 18;

// MainWindow: title and outer size (caption and frame included).
inline constexpr Text kWindowTitle = "Kalvoro";
inline constexpr int kWindowWidth = 625;
inline constexpr int kWindowHeight = 228;

// The controls in definition order: index 0 is the topmost in the stacking
// order.
std::span<const ControlDef, kControlCount> controls();

// The tab-stop controls in focus order (the reverse of the definition order),
// as indexes into controls(). Starts with 编辑框1.
std::span<const int, kFocusCount> focus_order();

// Index into controls() of an edit box.
int control_index(EditBox box);
// Index into controls() of the control with this name (UTF-8, e.g. "按钮1"),
// or -1 when the window has none.
int control_index(std::string_view name);

// The window's top-left corner when centred on a screen of the given size:
// each half truncated toward zero, negative on screens smaller than the
// window.
struct Point {
  int x, y;
  friend constexpr bool operator==(Point, Point) = default;
};
constexpr Point centred_origin(int screen_width, int screen_height) {
  return {(screen_width - kWindowWidth) / 2, (screen_height - kWindowHeight) / 2};
}

}  // namespace kalvoro::ui
