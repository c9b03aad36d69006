#include "calc/decimal_to_binary.h"

#include <bit>
#include <cstdint>

#include "calc/big_unsigned.h"
#include "calc/pow10_table.h"

namespace kalvoro::detail {

namespace {

using u128 = unsigned __int128;

// Range limits on the decimal exponent once the digits are below 10^24.
// digits * 10^e >= 10^e, and 10^309 is above the double range (about
// 1.798e308), so e >= 309 is always an infinity.
constexpr std::int64_t kInfinityExponent = 309;
// digits * 10^e < 10^(24 + e); for e <= -349 that is below 10^-325, which is
// less than half the smallest subnormal (2^-1075, about 2.47e-324): zero.
constexpr std::int64_t kZeroExponent = -349;

constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kInfinityBits = std::uint64_t{0x7FF} << 52;

int bit_length(u128 value) noexcept {
  const auto high = static_cast<std::uint64_t>(value >> 64);
  if (high != 0) return 128 - std::countl_zero(high);
  return 64 - std::countl_zero(static_cast<std::uint64_t>(value));
}

double from_bits(bool negative, std::uint64_t bits) noexcept {
  return std::bit_cast<double>(negative ? bits | kSignBit : bits);
}

// The value (q + f) * 2^e, where 0 <= f < 1 and `sticky` tells whether f > 0,
// rounded to the nearest double, an exact halfway going toward zero.
// Precondition: when sticky is set, q has at least 55 bits, so that the
// rounding position lies inside q and f only breaks a tie.
std::uint64_t round_to_double_bits(u128 q, bool sticky, std::int64_t e) noexcept {
  if (q == 0) return 0;
  const int bits = bit_length(q);
  // Step 1: the exponent of the last place kept: 53 significant bits for a
  // normal double, a fixed 2^-1074 for the subnormals.
  std::int64_t ulp = e + bits - 53;
  if (ulp < -1074) ulp = -1074;
  const std::int64_t shift = ulp - e;

  // Step 2: cut q at that place and round by the part cut off.
  std::uint64_t m = 0;
  if (shift <= 0) {
    // Exact: fewer than 54 bits (sticky is clear by the precondition).
    m = static_cast<std::uint64_t>(q) << -shift;
  } else if (shift >= bits) {
    // Everything is cut off; only shift == bits can reach half a place.
    const u128 half = u128{1} << (bits - 1);
    m = (shift == bits && (q > half || (q == half && sticky))) ? 1 : 0;
  } else {
    const int s = static_cast<int>(shift);
    m = static_cast<std::uint64_t>(q >> s);
    const u128 rest = q & ((u128{1} << s) - 1);
    const u128 half = u128{1} << (s - 1);
    // Ties (rest == half with nothing below) stay: toward zero.
    if (rest > half || (rest == half && sticky)) ++m;
  }

  // Step 3: a carry out of the 53 bits moves up one binade.
  if (m == (std::uint64_t{1} << 53)) {
    m >>= 1;
    ++ulp;
  }
  if (m == 0) return 0;
  // Largest finite: m < 2^53 with ulp 971 (2^1024 - 2^971).
  if (ulp > 971) return kInfinityBits;
  if (m < (std::uint64_t{1} << 52)) return m;  // subnormal (ulp is -1074)
  const auto biased = static_cast<std::uint64_t>(ulp + 1075);
  return (biased << 52) | (m & ((std::uint64_t{1} << 52) - 1));
}

// The exact path's numbers. The largest it forms is below 2^810 (26 limbs):
// digits < 10^24 < 2^80 and e10 <= 308 give digits * 5^e10 < 2^80 * 2^716;
// in the division the divisor is 5^j <= 5^348 < 2^809 (or, shifted to one
// bit above the digits, at most 81 bits), and the remainder, kept below the
// divisor, is at most doubled before each subtraction: < 2^810. 40 limbs
// (1280 bits) leave room even for any 128-bit digits (2^128 * 5^348 < 2^937).
using BigNumber = BigUnsigned<40>;

// Exact path for digits * 10^e10, digits != 0, e10 in
// [kZeroExponent, kInfinityExponent).
std::uint64_t exact_bits(u128 digits, std::int64_t e10) noexcept {
  if (e10 >= 0) {
    // digits * 10^e = (digits * 5^e) * 2^e: an integer; keep its top bits.
    BigNumber n(digits);
    n.multiply_pow5(e10);
    if (n.bit_length() <= 128) return round_to_double_bits(n.low_128_bits(), false, e10);
    bool sticky = false;
    const u128 top = n.top_64_bits(sticky);
    return round_to_double_bits(top, sticky, e10 + n.bit_length() - 64);
  }
  // digits * 10^-j = (digits / 5^j) * 2^-j. Binary long division for 66
  // quotient bits with the remainder's sign as the sticky bit.
  const std::int64_t j = -e10;
  BigNumber remainder(digits);
  BigNumber divisor(1);
  divisor.multiply_pow5(j);
  // Step 1: align so that remainder has one bit fewer than divisor, hence
  // divisor/4 < remainder < divisor; the quotient of remainder * 2^66 then
  // lies in [2^64, 2^66): at least 55 bits as rounding needs.
  const int align = divisor.bit_length() - 1 - remainder.bit_length();
  if (align >= 0) {
    remainder.shift_left(align);
  } else {
    divisor.shift_left(-align);
  }
  // Step 2: one quotient bit per round.
  constexpr int kQuotientBits = 66;
  u128 quotient = 0;
  for (int i = 0; i < kQuotientBits; ++i) {
    remainder.shift_left(1);
    quotient <<= 1;
    if (compare(remainder, divisor) >= 0) {
      remainder.subtract(divisor);
      quotient |= 1;
    }
  }
  // digits / 5^j = (quotient + f) * 2^(-align - 66), then times 2^-j.
  return round_to_double_bits(quotient, !remainder.is_zero(), -align - kQuotientBits - j);
}

// 10^k for k = 0..38 (10^38 < 2^127) and 5^k for k = 0..27 (5^27 < 2^63).
constexpr auto kPow10 = [] {
  struct Table {
    u128 value[39];
    int bits[39];
  } table{};
  u128 p = 1;
  for (int k = 0; k <= 38; ++k) {
    table.value[k] = p;
    int bits = 0;
    for (u128 v = p; v != 0; v >>= 1) ++bits;
    table.bits[k] = bits;
    p *= 10;
  }
  return table;
}();

constexpr auto kPow5 = [] {
  struct Table {
    std::uint64_t value[28];
  } table{};
  std::uint64_t p = 1;
  for (int k = 0; k <= 27; ++k) {
    table.value[k] = p;
    p *= 5;
  }
  return table;
}();

// The 256-bit product a * b as (high, low).
void multiply_wide(u128 a, u128 b, u128& high, u128& low) noexcept {
  const auto a0 = static_cast<std::uint64_t>(a);
  const auto a1 = static_cast<std::uint64_t>(a >> 64);
  const auto b0 = static_cast<std::uint64_t>(b);
  const auto b1 = static_cast<std::uint64_t>(b >> 64);
  const u128 p00 = u128{a0} * b0;
  const u128 p01 = u128{a0} * b1;
  const u128 p10 = u128{a1} * b0;
  const u128 p11 = u128{a1} * b1;
  // Middle column: the high half of p00 plus the low halves of p01 and p10.
  const u128 middle =
      (p00 >> 64) + static_cast<std::uint64_t>(p01) + static_cast<std::uint64_t>(p10);
  low = (middle << 64) | static_cast<std::uint64_t>(p00);
  high = p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64);
}

}  // namespace

bool decimal_to_double_table(bool negative, u128 digits, std::int64_t exponent10,
                             double& out) noexcept {
  // Outside the table the exact path decides (10^-349 still needs it).
  if (digits == 0 || exponent10 < kPow10First || exponent10 >= kInfinityExponent) return false;
  // Step 1: x = digits * 10^e with 10^e = (P + t) * 2^b, 0 <= t < 1 (t = 0
  // for e = 0..55), so x = (digits * P + digits * t) * 2^b, the second term
  // in [0, digits).
  const Pow10Entry& power = pow10_entry(static_cast<int>(exponent10));
  const u128 p = (u128{power.high} << 64) | power.low;
  u128 high = 0;
  u128 low = 0;
  multiply_wide(digits, p, high, low);
  // Step 2: keep the top 127 bits of digits * P: Q = floor(digits * P / 2^s)
  // and the rest R. digits * P has at least bit_length(digits) + 127 bits, so
  // s >= bit_length(digits) and digits <= 2^s:
  //   x / 2^(s + b) lies in [Q + R / 2^s, Q + 2).
  const int length = high != 0 ? 128 + bit_length(high) : bit_length(low);
  const int s = length - 127;
  u128 q = 0;
  bool rest = false;
  if (s >= 128) {
    q = high >> (s - 128);
    rest = low != 0 || (high & ((u128{1} << (s - 128)) - 1)) != 0;
  } else {
    q = (high << (128 - s)) | (low >> s);
    rest = (low & ((u128{1} << s) - 1)) != 0;
  }
  const std::int64_t e = s + std::int64_t{power.binary_exponent};
  // Step 3: rounding is monotone, and no rounding boundary lies strictly
  // inside (Q + 1, Q + 2) (the boundaries are multiples of half a place,
  // at least 2^73 units of Q). So if the lower end and everything just above
  // Q + 1 give the same double, x gives it too. Where the power is exact, x
  // is the lower end itself, halfway cases included.
  const std::uint64_t lower = round_to_double_bits(q, rest, e);
  if (exponent10 < 0 || exponent10 > kPow10ExactLast) {
    if (round_to_double_bits(q + 1, true, e) != lower) return false;
  }
  out = from_bits(negative, lower);
  return true;
}

double decimal_to_double_exact(bool negative, u128 digits, std::int64_t exponent10) noexcept {
  if (digits == 0 || exponent10 < kZeroExponent) return from_bits(negative, 0);
  if (exponent10 >= kInfinityExponent) return from_bits(negative, kInfinityBits);
  return from_bits(negative, exact_bits(digits, exponent10));
}

double decimal_to_double(bool negative, u128 digits, std::int64_t exponent10) noexcept {
  if (digits == 0) return from_bits(negative, 0);
  // Fast path: digits * 10^e fits 128 bits, so it is exact.
  if (exponent10 >= 0 && exponent10 <= 38 && bit_length(digits) + kPow10.bits[exponent10] <= 128) {
    return from_bits(negative, round_to_double_bits(digits * kPow10.value[exponent10], false, 0));
  }
  // Fast path: one product with a truncated power of ten, where its error
  // cannot change the result.
  double out = 0;
  if (decimal_to_double_table(negative, digits, exponent10, out)) return out;
  if (exponent10 < 0 && exponent10 >= -27) {
    // Fast path: digits / 10^j = (digits * 2^s / 5^j) * 2^(-s-j) with
    // digits * 2^s in [2^127, 2^128) and 5^j < 2^63: the quotient has at
    // least 65 bits, the remainder decides the sticky bit.
    const auto j = static_cast<int>(-exponent10);
    const int s = 128 - bit_length(digits);
    const u128 numerator = digits << s;
    const std::uint64_t divisor = kPow5.value[j];
    const u128 quotient = numerator / divisor;
    const bool sticky = quotient * divisor != numerator;
    return from_bits(negative, round_to_double_bits(quotient, sticky, -s - j));
  }
  return decimal_to_double_exact(negative, digits, exponent10);
}

}  // namespace kalvoro::detail
