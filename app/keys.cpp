#include "app/keys.h"

namespace kalvoro::app {

namespace {

// Virtual-key codes used here (the platform's values).
constexpr std::int32_t kTab = 0x09;
constexpr std::int32_t kShift = 0x10;
constexpr std::int32_t kControl = 0x11;
constexpr std::int32_t kMenu = 0x12;  // Alt
constexpr std::int32_t kEscape = 0x1B;
constexpr std::int32_t kDigit0 = 0x30;
constexpr std::int32_t kNumpad0 = 0x60;
constexpr std::int32_t kNumpad9 = 0x69;
constexpr std::int32_t kSubtract = 0x6D;  // keypad -
constexpr std::int32_t kDivide = 0x6F;    // keypad /
constexpr std::int32_t kOemMinus = 0xBD;  // main keyboard -, then . and /
constexpr std::int32_t kLeftShift = 0xA0;
constexpr std::int32_t kRightShift = 0xA1;
constexpr std::int32_t kLeftControl = 0xA2;
constexpr std::int32_t kRightControl = 0xA3;
constexpr std::int32_t kLeftMenu = 0xA4;
constexpr std::int32_t kRightMenu = 0xA5;

}  // namespace

std::int32_t key_code_of(std::uint32_t virtual_key) noexcept {
  const auto code = static_cast<std::int32_t>(virtual_key & 0xFFu);
  if (code >= kNumpad0 && code <= kNumpad9) return code - kNumpad0 + kDigit0;
  // Keypad - . / (109, 110, 111) sit in the same order as the main
  // keyboard's - . / (189, 190, 191).
  if (code >= kSubtract && code <= kDivide) return code - kSubtract + kOemMinus;
  return code;
}

std::int32_t modifier_state_of(std::uint32_t virtual_key, bool ctrl, bool shift,
                               bool alt) noexcept {
  const std::int32_t code = key_code_of(virtual_key);
  const bool is_ctrl = code == kControl || code == kLeftControl || code == kRightControl;
  const bool is_shift = code == kShift || code == kLeftShift || code == kRightShift;
  const bool is_alt = code == kMenu || code == kLeftMenu || code == kRightMenu;
  return (ctrl && !is_ctrl ? kCtrlHeld : 0) | (shift && !is_shift ? kShiftHeld : 0) |
         (alt && !is_alt ? kAltHeld : 0);
}

WindowKey window_key(std::uint32_t virtual_key, std::int32_t modifier_state) noexcept {
  const std::int32_t code = key_code_of(virtual_key);
  if (code == kTab && modifier_state == 0) return WindowKey::next_control;
  if (code == kTab && modifier_state == kShiftHeld) return WindowKey::previous_control;
  if (code == kEscape && modifier_state == 0) return WindowKey::close;
  return WindowKey::none;
}

}  // namespace kalvoro::app
