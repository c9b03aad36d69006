// A fixed-capacity unsigned big integer for the exact fallbacks of the two
// decimal conversions (decimal_to_binary.cpp and decimal_digits.cpp). Private
// to calc; no heap, no exceptions. Each user picks the capacity and states in
// its own file why the numbers it forms fit.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace kalvoro::detail {

// An unsigned integer of up to Limbs 32-bit limbs, least significant first.
// Invariant: limbs at and above size() are zero and the top limb in use is
// not, so equal values have equal limbs and sizes. No operation checks the
// capacity: the caller guarantees that every result fits Limbs limbs.
template <int Limbs>
class BigUnsigned {
 public:
  static constexpr int kLimbs = Limbs;

  explicit BigUnsigned(unsigned __int128 value) noexcept {
    while (value != 0) {
      limb_[size_++] = static_cast<std::uint32_t>(value);
      value >>= 32;
    }
  }

  int size() const noexcept { return size_; }
  bool is_zero() const noexcept { return size_ == 0; }

  int bit_length() const noexcept {
    if (size_ == 0) return 0;
    return 32 * size_ - std::countl_zero(limb_[size_ - 1]);
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

  // Multiplies by 5^power, 13 at a time: 5^13 = 1220703125 < 2^32.
  void multiply_pow5(std::int64_t power) noexcept {
    for (; power >= 13; power -= 13) multiply(1220703125u);
    std::uint32_t rest = 1;
    for (; power > 0; --power) rest *= 5;
    if (rest != 1) multiply(rest);
  }

  // Multiplies by 10^power, 9 at a time: 10^9 < 2^32.
  void multiply_pow10(int power) noexcept {
    for (; power >= 9; power -= 9) multiply(1000000000u);
    std::uint32_t rest = 1;
    for (; power > 0; --power) rest *= 10;
    if (rest != 1) multiply(rest);
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

  // -1, 0 or 1 as a is below, equal to or above b.
  friend int compare(const BigUnsigned& a, const BigUnsigned& b) noexcept {
    if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
    for (int i = a.size_ - 1; i >= 0; --i) {
      if (a.limb_[i] != b.limb_[i]) return a.limb_[i] < b.limb_[i] ? -1 : 1;
    }
    return 0;
  }

  friend bool operator<(const BigUnsigned& a, const BigUnsigned& b) noexcept {
    return compare(a, b) < 0;
  }

  // *this -= b; requires b <= *this.
  void subtract(const BigUnsigned& b) noexcept {
    std::uint64_t borrow = 0;
    for (int i = 0; i < size_; ++i) {
      // Limbs of b at and above its size are zero, so reading them is safe.
      const std::uint64_t sub = std::uint64_t{b.limb_[i]} + borrow;
      const std::uint64_t x = limb_[i];
      borrow = x < sub ? 1 : 0;
      limb_[i] = static_cast<std::uint32_t>(x - sub);
    }
    trim();
  }

  // *this -= b * q; requires b * q <= *this.
  void subtract_multiple(const BigUnsigned& b, std::uint32_t q) noexcept {
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
    trim();
  }

  // Shifts *this and s left alike until the top limb of s has its top bit
  // set; the quotient *this / s does not change. Requires s non-zero.
  void normalize_with(BigUnsigned& s) noexcept {
    const int shift = std::countl_zero(s.limb_[s.size_ - 1]);
    s.shift_left(shift);
    shift_left(shift);
  }

  // Replaces *this by *this mod s and returns floor(*this / s). Requires s
  // normalized, *this < 2^32 * s and s.size() < Limbs. The estimate from the
  // top 64 bits of *this over the top limb of s plus one never exceeds the
  // quotient and falls short by at most 3 (the top limb is at least 2^31).
  std::uint32_t divide_step(const BigUnsigned& s) noexcept {
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

  // The top 64 bits (the number shifted right by bit_length() - 64), and
  // whether any bit below them is set. Requires bit_length() > 64.
  unsigned __int128 top_64_bits(bool& lower_bits_set) const noexcept {
    const int drop = bit_length() - 64;
    unsigned __int128 top = 0;
    for (int i = size_ - 1; i >= drop / 32; --i) top = (top << 32) | limb_[i];
    const int within = drop % 32;
    lower_bits_set = (limb_[drop / 32] & ((std::uint32_t{1} << within) - 1)) != 0;
    for (int i = drop / 32 - 1; i >= 0 && !lower_bits_set; --i) lower_bits_set = limb_[i] != 0;
    return top >> within;
  }

  // The value itself; requires bit_length() <= 128.
  unsigned __int128 low_128_bits() const noexcept {
    unsigned __int128 value = 0;
    for (int i = size_ - 1; i >= 0; --i) value = (value << 32) | limb_[i];
    return value;
  }

 private:
  void trim() noexcept {
    while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
  }

  std::uint32_t limb_[static_cast<std::size_t>(Limbs)] = {};
  int size_ = 0;
};

}  // namespace kalvoro::detail
