// The program's event handlers: the three calculator rows and the credit key.
// Each reads the boxes it needs, computes under the evaluation rule, writes
// its result box(es) and gives back every Text it received.
#pragma once

#include <cstdint>

namespace kalvoro {

// Row 1, button "计算距离": 编辑框1, 编辑框2, 编辑框3, 编辑框5 -> 编辑框4.
//   20, 100, 0.7, 30 -> "2.9—4.3米"
void calc_throw_distance();

// Row 2, button "计算尺寸": 编辑框11, 编辑框8, 编辑框10, 编辑框6 -> 编辑框7.
//   3, 0.7, 20, 30 -> "70—105寸"
void calc_image_size();

// Row 3, button "计算长高": 编辑框9, 编辑框15, 编辑框14 -> 编辑框16, 编辑框17.
//   100, 16, 9 -> "2.2138米", "1.2453米"
void calc_screen_sides();

// Key-down in 编辑框1: End (virtual key 35), whatever the modifiers, writes
// the credit text into 编辑框7. Gives nothing back, so the key always goes on
// to the box.
inline constexpr std::int32_t kEndKey = 35;
void credit_key_down(std::int32_t key_code, std::int32_t modifier_state);

}  // namespace kalvoro
