// Exact conversion of a short decimal (at most 24 significant digits) to the
// nearest double, with an exact halfway case going toward zero. Private to
// parse_single; declared here so that tests can hold the fast path against
// the exact big-number path.
#pragma once

#include <cstdint>

namespace kalvoro::detail {

// Largest digit count that parse_single hands over: it keeps 25 significant
// digits and rounds them to 24.
inline constexpr int kMaxDecimalDigits = 24;

// (-1)^negative * digits * 10^exponent10 rounded to the nearest double; an
// exact halfway value goes to the double nearer zero. Beyond the double range:
// an infinity of the sign; below it: zero of the sign or the nearest
// subnormal. digits < 10^24; any exponent10.
//   decimal_to_double(false, 254, -1)              -> 25.4 (nearest double)
//   decimal_to_double(false, 9007200865353727, 0)  -> 9007200865353726
//   decimal_to_double(true, 0, 5)                  -> -0.0
double decimal_to_double(bool negative, unsigned __int128 digits, std::int64_t exponent10) noexcept;

// The same result from one 128 x 128-bit product with a truncated power of
// ten, where its error provably cannot change the double: then stores it in
// `out` and returns true; returns false (leaving `out`) where the product
// lies too near a rounding boundary, and outside 10^-348 .. 10^308.
bool decimal_to_double_table(bool negative, unsigned __int128 digits, std::int64_t exponent10,
                             double& out) noexcept;

// The same result, always through the big-number path (no 128-bit shortcut).
double decimal_to_double_exact(bool negative, unsigned __int128 digits,
                               std::int64_t exponent10) noexcept;

}  // namespace kalvoro::detail
