#include "calc/decimal_digits.h"

#include <array>
#include <bit>

#include "calc/big_unsigned.h"
#include "calc/pow10_table.h"

namespace kalvoro::detail {

namespace {

using u128 = unsigned __int128;

constexpr std::uint64_t kTen17 = 100000000000000000ull;
constexpr std::uint64_t kTen18 = 1000000000000000000ull;

// |v| = m * 2^e2 with m an integer below 2^53; e = the power of two of the
// highest set bit of m * 2^e2.
struct Binary {
  std::uint64_t m;
  int e2;
  int e;
};

Binary decompose(double v) noexcept {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
  const int field = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  Binary b{};
  if (field == 0) {  // subnormal: no hidden bit, fixed exponent
    b.m = fraction;
    b.e2 = -1074;
  } else {
    b.m = fraction | (std::uint64_t{1} << 52);
    b.e2 = field - 1075;
  }
  b.e = b.e2 + 63 - std::countl_zero(b.m);
  return b;
}

// floor(e * log10(2)) for -1100 <= e <= 1100; 78913 = round(2^18 * log10(2)).
// Checked against the exact floor over that whole range. With 2^e <= |v| <
// 2^(e+1), the first digit of |v| stands at 10^k or 10^(k+1).
constexpr int floor_log10_pow2(int e) noexcept { return (e * 78913) >> 18; }

constexpr std::array<u128, 23> kPow10 = [] {
  std::array<u128, 23> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// The exact path's numbers. Before step 2, n is at most m * 10^325 < 2^53 *
// 2^1080 = 2^1133 (36 limbs, the smallest subnormals); s is at most
// 2^1074 * 10 < 2^1078, normalized to at most 34 full limbs (2^1088), and n
// stays below 10 * s < 2^1092 and below 2^1122 once times 10^9 in the
// division (36 limbs; divide_step reads one limb above s). 40 limbs (1280
// bits) hold them all.
using Big = BigUnsigned<40>;

// The end of both fast paths: d = floor(x) with x = |v| * 10^(17 - k). As
// 10^k <= 2^e <= |v| < 2^(e+1) < 2 * 10^(k+1), x lies in [10^17, 2 * 10^18):
// 18 or 19 digits. Stores the first 18 and the power of the first one.
bool store_digits(std::uint64_t d, int k, LeadingDigits& out) noexcept {
  // One digit too many is cut exactly: floor(floor(x) / 10) = floor(x / 10).
  if (d >= kTen18) {
    d /= 10;
    ++k;
  }
  if (d < kTen17) return false;  // cannot happen while k is never above the true exponent
  out.digits = d;
  out.exponent = k;
  return true;
}

}  // namespace

bool leading_digits_fast(double v, LeadingDigits& out) noexcept {
  const Binary b = decompose(v);
  int k = floor_log10_pow2(b.e);
  const int q = 17 - k;
  u128 d = 0;
  if (b.e2 >= 0) {
    // An integer m * 2^e2; below 2^128 while e2 <= 74. Then k <= 37 and the
    // divisor 10^-q is at most 10^20.
    if (b.e2 > 74) return false;
    const u128 n = static_cast<u128>(b.m) << b.e2;
    d = q >= 0 ? n * kPow10[static_cast<std::size_t>(q)] : n / kPow10[static_cast<std::size_t>(-q)];
  } else {
    // floor(m * 10^q / 2^-e2): m * 10^q < 2^53 * 10^22 < 2^127 for q <= 22,
    // i.e. |v| >= 1e-5. Here |v| < 2^53, so q >= 2.
    if (q > 22 || -b.e2 > 127) return false;
    d = (static_cast<u128>(b.m) * kPow10[static_cast<std::size_t>(q)]) >> -b.e2;
  }
  // d < 2 * 10^18 < 2^64 (see store_digits), so it narrows exactly.
  return store_digits(static_cast<std::uint64_t>(d), k, out);
}

bool leading_digits_table(double v, LeadingDigits& out) noexcept {
  const Binary b = decompose(v);
  int k = floor_log10_pow2(b.e);
  const int q = 17 - k;
  // Step 1: 10^q = (P + t) * 2^pb with 0 <= t < 1 (t = 0 for q = 0..55), so
  //   x = |v| * 10^q = (m * P + m * t) * 2^(e2 + pb), the second term below m.
  // x < 2 * 10^18 < 2^61 (k is at most one below the true power) and
  // m * P >= 2^127, so the shift h = -(e2 + pb) is above 66; m * P < 2^181
  // and x >= 10^17 > 2^56 keep it below 125.
  const Pow10Entry& power = pow10_entry(q);
  const int h = -(b.e2 + power.binary_exponent);
  // Step 2: m * P = middle * 2^64 + w0 (192 bits), and
  // floor(m * P / 2^h) = floor(middle / 2^(h - 64)).
  const u128 upper = static_cast<u128>(b.m) * power.high;
  const u128 lower = static_cast<u128>(b.m) * power.low;
  const auto w0 = static_cast<std::uint64_t>(lower);
  const u128 middle = upper + (lower >> 64);
  const int h64 = h - 64;
  auto d = static_cast<std::uint64_t>(middle >> h64);  // below 2^61
  // Step 3: floor(x) = d unless the part cut off, L = m * P mod 2^h, lies
  // within m of 2^h. L + m > 2^h needs the cut bits of `middle` all set
  // and w0 + m to carry out of 64 bits. An exact power has nothing to add.
  if (q < 0 || q > kPow10ExactLast) {
    const u128 mask = (u128{1} << h64) - 1;
    if ((middle & mask) == mask && w0 > 0 - b.m) return false;
  }
  return store_digits(d, k, out);
}

LeadingDigits leading_digits_exact(double v) noexcept {
  const Binary b = decompose(v);
  int k = floor_log10_pow2(b.e);
  // Step 1: |v| / 10^k = n / s with integers n and s; 1 <= n / s < 100.
  Big n(b.m);
  Big s(1);
  if (b.e2 >= 0) {
    n.shift_left(b.e2);
  } else {
    s.shift_left(-b.e2);
  }
  if (k >= 0) {
    s.multiply_pow10(k);
  } else {
    n.multiply_pow10(-k);
  }
  // Step 2: make 1 <= n / s < 10, so that k is the power of the first digit.
  Big s10 = s;
  s10.multiply(10);
  if (!(n < s10)) {
    s = s10;
    ++k;
  } else if (n < s) {
    n.multiply(10);
    --k;
  }
  // Step 3: 18 digits by long division: the first digit, then 9 and 8 more
  // (each quotient stays below 2^32).
  n.normalize_with(s);
  std::uint64_t digits = n.divide_step(s);
  n.multiply(1000000000u);
  digits = digits * 1000000000u + n.divide_step(s);
  n.multiply(100000000u);
  digits = digits * 100000000u + n.divide_step(s);
  return LeadingDigits{digits, k};
}

LeadingDigits leading_digits(double v) noexcept {
  LeadingDigits out{};
  if (leading_digits_table(v, out)) return out;
  if (leading_digits_fast(v, out)) return out;
  return leading_digits_exact(v);
}

}  // namespace kalvoro::detail
