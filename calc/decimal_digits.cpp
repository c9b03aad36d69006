#include "calc/decimal_digits.h"

#include <array>
#include <bit>

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

// An unsigned integer of up to kLimbs 32-bit limbs, least significant first.
// 40 limbs = 1280 bits hold every number the exact path forms: at most
// m * 10^325 < 2^1133 (the smallest subnormals), and during the division
// 10^9 times a divisor of at most 2^1106 (2^1074 * 10, normalized).
class Big {
 public:
  static constexpr int kLimbs = 40;

  explicit Big(std::uint64_t x) noexcept {
    limb_[0] = static_cast<std::uint32_t>(x);
    limb_[1] = static_cast<std::uint32_t>(x >> 32);
    size_ = limb_[1] != 0 ? 2 : (limb_[0] != 0 ? 1 : 0);
  }

  void multiply(std::uint32_t factor) noexcept {
    std::uint64_t carry = 0;
    for (int i = 0; i < size_; ++i) {
      const std::uint64_t p = std::uint64_t{limb_[i]} * factor + carry;
      limb_[i] = static_cast<std::uint32_t>(p);
      carry = p >> 32;
    }
    if (carry != 0) limb_[size_++] = static_cast<std::uint32_t>(carry);
  }

  void multiply_pow10(int n) noexcept {
    for (; n >= 9; n -= 9) multiply(1000000000u);
    if (n > 0) multiply(static_cast<std::uint32_t>(kPow10[static_cast<std::size_t>(n)]));
  }

  void shift_left(int bits) noexcept {
    if (size_ == 0 || bits == 0) return;
    const int whole = bits / 32;
    const int part = bits % 32;
    if (part != 0) {
      std::uint32_t carry = 0;
      for (int i = 0; i < size_; ++i) {
        const std::uint32_t x = limb_[i];
        limb_[i] = (x << part) | carry;
        carry = x >> (32 - part);
      }
      if (carry != 0) limb_[size_++] = carry;
    }
    if (whole != 0) {
      for (int i = size_ - 1; i >= 0; --i) limb_[i + whole] = limb_[i];
      for (int i = 0; i < whole; ++i) limb_[i] = 0;
      size_ += whole;
    }
  }

  friend bool operator<(const Big& a, const Big& b) noexcept {
    if (a.size_ != b.size_) return a.size_ < b.size_;
    for (int i = a.size_ - 1; i >= 0; --i) {
      if (a.limb_[i] != b.limb_[i]) return a.limb_[i] < b.limb_[i];
    }
    return false;
  }

  // *this -= b; requires b <= *this.
  void subtract(const Big& b) noexcept { subtract_multiple(b, 1); }

  // *this -= b * q; requires b * q <= *this. Limbs at and above size_ are
  // always zero, so reading b past its size is safe.
  void subtract_multiple(const Big& b, std::uint32_t q) noexcept {
    std::uint64_t carry = 0;
    std::uint64_t borrow = 0;
    for (int i = 0; i < size_; ++i) {
      const std::uint64_t p = std::uint64_t{b.limb_[i]} * q + carry;
      carry = p >> 32;
      const std::uint64_t sub = (p & 0xFFFFFFFFu) + borrow;
      const std::uint64_t x = limb_[i];
      borrow = x < sub ? 1 : 0;
      limb_[i] = static_cast<std::uint32_t>(x - sub);
    }
    while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
  }

  // Shifts *this and s left alike until the top limb of s has its top bit
  // set; the quotient *this / s does not change.
  void normalize_with(Big& s) noexcept {
    const int shift = std::countl_zero(s.limb_[s.size_ - 1]);
    s.shift_left(shift);
    shift_left(shift);
  }

  // Replaces *this by *this mod s and returns floor(*this / s). Requires s
  // normalized and *this < 2^32 * s. The estimate from the top 64 bits of
  // *this over the top limb of s plus one never exceeds the quotient and
  // falls short by at most 3 (the top limb is at least 2^31).
  std::uint32_t divide_step(const Big& s) noexcept {
    const int t = s.size_ - 1;
    const std::uint64_t top = (std::uint64_t{limb_[t + 1]} << 32) | limb_[t];
    std::uint64_t q = top / (std::uint64_t{s.limb_[t]} + 1);
    subtract_multiple(s, static_cast<std::uint32_t>(q));
    while (!(*this < s)) {
      subtract(s);
      ++q;
    }
    return static_cast<std::uint32_t>(q);
  }

 private:
  std::uint32_t limb_[kLimbs] = {};
  int size_ = 0;
};

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
  // floor(floor(x) / 10) = floor(x / 10): one digit too many is cut exactly.
  if (d >= kTen18) {
    d /= 10;
    ++k;
  }
  if (d < kTen17) return false;  // cannot happen while k is never above the true exponent
  out.digits = static_cast<std::uint64_t>(d);
  out.exponent = k;
  return true;
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
  // One digit too many is cut exactly: floor(floor(x) / 10) = floor(x / 10).
  if (d >= kTen18) {
    d /= 10;
    ++k;
  }
  if (d < kTen17) return false;  // cannot happen while k is never above the true exponent
  out.digits = static_cast<std::uint64_t>(d);
  out.exponent = k;
  return true;
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
