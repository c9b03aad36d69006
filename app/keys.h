// What a key-down message means to the window: the window's own keys (Tab,
// Shift+Tab, Esc) and the two arguments of a control's key-down event.
// Plain integers in and out, so the rules are tested without a window.
#pragma once

#include <cstdint>

namespace kalvoro::app {

// modifier_state bits.
inline constexpr std::int32_t kCtrlHeld = 1;
inline constexpr std::int32_t kShiftHeld = 2;
inline constexpr std::int32_t kAltHeld = 4;

// key_code of a key-down event: the low 8 bits of the virtual-key code, with
// the keypad's digits reported as the main keyboard's and its - . / as the
// main keyboard's - . / keys.
//   96 (keypad 0) -> 48, 105 (keypad 9) -> 57, 109 -> 189, 110 -> 190,
//   111 -> 191, 35 (End) -> 35, 0x1A3 -> 0xA3
std::int32_t key_code_of(std::uint32_t virtual_key) noexcept;

// modifier_state of a key-down event from the held state of Ctrl, Shift and
// Alt; the pressed key does not count itself (Ctrl alone gives 0).
std::int32_t modifier_state_of(std::uint32_t virtual_key, bool ctrl, bool shift, bool alt) noexcept;

enum class WindowKey { none, next_control, previous_control, close };

// The window's own meaning of a key: Tab with no modifier, Shift+Tab with
// Shift alone, Esc with no modifier; every other key or combination is none
// and goes on to the focused control.
WindowKey window_key(std::uint32_t virtual_key, std::int32_t modifier_state) noexcept;

}  // namespace kalvoro::app
