// The leading decimal digits of a double, exactly: the private core of
// format_number, exposed so that tests can check the fast path against the
// exact one.
#pragma once

#include <cstdint>

namespace kalvoro::detail {

// The first 18 significant decimal digits of |v|, truncated (not rounded),
// and the power of ten of the first one:
//   |v| = 0.d1 d2 ... d18 ... x 10^(exponent + 1), digits = d1 d2 ... d18,
//   so 10^17 <= digits < 10^18.
//   leading_digits(1000000000.0005) -> {100000000000049996, 9}
//   leading_digits(5e-324)          -> {494065645841246544, -324}
struct LeadingDigits {
  std::uint64_t digits;
  int exponent;
};

// Exact for every finite non-zero v, by fixed-size big-number arithmetic.
LeadingDigits leading_digits_exact(double v) noexcept;

// Exact where floor(|v| * 10^q) can be formed in 128 bits (about
// 1e-5 <= |v| < 2^127); returns false without touching `out` elsewhere.
bool leading_digits_fast(double v, LeadingDigits& out) noexcept;

// Exact for every finite non-zero v unless |v| * 10^q (q = 17 minus the
// estimated power of the first digit) lies too near an integer for one
// 64 x 128-bit product with a truncated power of ten to decide its floor;
// returns false without touching `out` then.
bool leading_digits_table(double v, LeadingDigits& out) noexcept;

// The table path where it decides, then the 128-bit path where it applies,
// the exact one otherwise.
LeadingDigits leading_digits(double v) noexcept;

}  // namespace kalvoro::detail
