#include "ui/window_definition.h"

#include "calc/handlers.h"

namespace kalvoro::ui {

namespace {

// Looks by group.
constexpr Appearance kInputCaption{kCaptionGrey, kBlack, FontId::yahei_14_bold, Align::centre};
constexpr Appearance kResultCaption{kResultPeach, kBlack, FontId::yahei_14_bold, Align::centre};
constexpr Appearance kDashLabel{kGreen, kBlack, FontId::default_gui, Align::left};
constexpr Appearance kColonLabel{kGreen, kBlack, FontId::yahei_16_bold, Align::left};
constexpr Appearance kArrow{kArrowOrange, kBlack, FontId::song_16_bold, Align::left};
constexpr Appearance kInputBox{kGreen, kBlack, FontId::song_16_bold, Align::centre};
constexpr Appearance kResultBox{kCyan, kBlack, FontId::song_16_bold, Align::centre};
constexpr Appearance kButton{kBlack, kBlack, FontId::default_gui, Align::centre};

// Captions, GBK.
constexpr Text kScreenHeight = "\xC6\xC1\xC4\xBB\xB8\xDF\xB6\xC8";                  // 屏幕高度
constexpr Text kScreenLength = "\xC6\xC1\xC4\xBB\xB3\xA4\xB6\xC8";                  // 屏幕长度
constexpr Text kRatio = "\xCD\xB6\xD3\xB0\xB1\xC8\xC1\xD0";                         // 投影比列
constexpr Text kImageInches = "\xCD\xB6\xD3\xB0\xB3\xDF\xB4\xE7/\xD3\xA2\xB4\xE7";  // 投影尺寸/英寸
constexpr Text kCalcSides = "\xBC\xC6\xCB\xE3\xB3\xA4\xB8\xDF";                     // 计算长高
constexpr Text kCalcSize = "\xBC\xC6\xCB\xE3\xB3\xDF\xB4\xE7";                      // 计算尺寸
constexpr Text kThrowMetres = "\xCD\xB6\xD3\xB0\xBE\xE0\xC0\xEB/\xC3\xD7";  // 投影距离/米
constexpr Text kChipInches = "\xBE\xA7\xC6\xAC/\xD3\xA2\xB4\xE7";           // 晶片/英寸
constexpr Text kFocalRange = "F\xB9\xE2\xC8\xA6\xB7\xB6\xCE\xA7/mm";        // F光圈范围/mm
constexpr Text kCalcDistance = "\xBC\xC6\xCB\xE3\xBE\xE0\xC0\xEB";          // 计算距离
constexpr Text kColon = "\xA3\xBA";                                         // ： U+FF1A
constexpr Text kShortArrow = "=====>";
constexpr Text kLongArrow = "============>";

constexpr ControlDef make_label(const char* name, int l, int t, int w, int h, Text text, int row,
                                Appearance look) {
  return {ControlKind::label, name, l, t, w, h, text, row, look};
}
constexpr ControlDef make_edit(const char* name, EditBox box, int l, int t, int w, int h, int row,
                               bool read_only = false, KeyDownHandler key_down = nullptr) {
  return {ControlKind::edit_box,
          name,
          l,
          t,
          w,
          h,
          texts::kEmpty,
          row,
          read_only ? kResultBox : kInputBox,
          read_only,
          box,
          nullptr,
          key_down};
}
constexpr ControlDef make_button(const char* name, int l, int t, int w, int h, Text text, int row,
                                 ClickHandler click) {
  return {ControlKind::button, name, l, t, w, h, text, row, kButton, false, {}, click, nullptr};
}

constexpr bool kReadOnly = true;

constinit const std::array<ControlDef, kControlCount> kControls{{
    make_label("标签18", 442, 126, 80, 24, kScreenHeight, 3, kResultCaption),
    make_label("标签17", 335, 126, 80, 24, kScreenLength, 3, kResultCaption),
    make_label("标签16", 121, 126, 66, 24, kRatio, 3, kInputCaption),
    make_edit("编辑框17", EditBox::编辑框17, 436, 152, 91, 25, 3, kReadOnly),
    make_edit("编辑框16", EditBox::编辑框16, 332, 152, 91, 25, 3, kReadOnly),
    make_edit("编辑框14", EditBox::编辑框14, 159, 152, 28, 25, 3),
    make_edit("编辑框15", EditBox::编辑框15, 120, 152, 28, 25, 3),
    make_label("标签8", 16, 126, 92, 24, kImageInches, 3, kInputCaption),
    make_edit("编辑框9", EditBox::编辑框9, 16, 152, 92, 25, 3),
    make_button("按钮4", 527, 152, 80, 25, kCalcSides, 3, &calc_screen_sides),
    make_button("按钮2", 528, 90, 80, 25, kCalcSize, 2, &calc_image_size),
    make_label("标签13", 245, 64, 81, 24, kThrowMetres, 2, kInputCaption),
    make_edit("编辑框11", EditBox::编辑框11, 250, 90, 72, 25, 2),
    make_label("标签7", 74, 90, 13, 25, texts::kDash, 2, kDashLabel),
    make_edit("编辑框6", EditBox::编辑框6, 86, 90, 59, 25, 2),
    make_label("标签9", 161, 64, 72, 24, kChipInches, 2, kInputCaption),
    make_label("标签10", 400, 64, 125, 24, kImageInches, 2, kResultCaption),
    make_edit("编辑框7", EditBox::编辑框7, 394, 90, 134, 25, 2, kReadOnly),
    make_edit("编辑框8", EditBox::编辑框8, 161, 90, 72, 25, 2),
    make_label("标签11", 17, 64, 127, 24, kFocalRange, 2, kInputCaption),
    make_edit("编辑框10", EditBox::编辑框10, 16, 90, 59, 25, 2),
    make_label("标签5", 74, 28, 13, 25, texts::kDash, 1, kDashLabel),
    make_edit("编辑框5", EditBox::编辑框5, 86, 28, 59, 25, 1),
    make_button("按钮1", 528, 28, 80, 25, kCalcDistance, 1, &calc_throw_distance),
    make_label("标签4", 397, 2, 131, 24, kThrowMetres, 1, kResultCaption),
    make_label("标签3", 162, 2, 72, 24, kChipInches, 1, kInputCaption),
    make_label("标签2", 242, 2, 96, 24, kImageInches, 1, kInputCaption),
    make_edit("编辑框4", EditBox::编辑框4, 394, 28, 134, 25, 1, kReadOnly),
    make_edit("编辑框3", EditBox::编辑框3, 161, 28, 72, 25, 1),
    make_edit("编辑框2", EditBox::编辑框2, 249, 28, 72, 25, 1),
    make_label("标签1", 17, 2, 127, 24, kFocalRange, 1, kInputCaption),
    make_edit("编辑框1", EditBox::编辑框1, 16, 28, 59, 25, 1, false, &credit_key_down),
    make_label("标签14", 146, 151, 13, 26, kColon, 3, kColonLabel),
    make_label("标签12", 340, 90, 52, 25, kShortArrow, 2, kArrow),
    make_label("标签15", 216, 152, 115, 25, kLongArrow, 3, kArrow),
    make_label("标签6", 340, 28, 53, 25, kShortArrow, 1, kArrow),
}};

// Focus order: the tab-stop controls, last defined first.
constexpr std::array<int, kFocusCount> derive_focus_order() {
  std::array<int, kFocusCount> order{};
  std::size_t n = 0;
  for (int i = kControlCount - 1; i >= 0; --i) {
    if (kControls[static_cast<std::size_t>(i)].tab_stop()) order.at(n++) = i;
  }
  return order;
}
constinit const std::array<int, kFocusCount> kFocusOrder = derive_focus_order();

}  // namespace

std::span<const ControlDef, kControlCount> controls() { return kControls; }

std::span<const int, kFocusCount> focus_order() { return kFocusOrder; }

int control_index(EditBox box) {
  for (int i = 0; i < kControlCount; ++i) {
    if (kControls[static_cast<std::size_t>(i)].box == box) return i;
  }
  return -1;  // unreachable for the fifteen boxes of the definition
}

int control_index(std::string_view name) {
  for (int i = 0; i < kControlCount; ++i) {
    if (kControls[static_cast<std::size_t>(i)].name == name) return i;
  }
  return -1;
}

}  // namespace kalvoro::ui
