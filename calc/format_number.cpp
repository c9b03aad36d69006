#include <bit>
#include <cstdint>
#include <cstring>

#include "calc/decimal_digits.h"
#include "calc/numeric.h"

namespace kalvoro {

namespace {

constexpr std::uint64_t kSignBit = 0x8000000000000000ull;
constexpr std::uint64_t kExponentMask = 0x7FF0000000000000ull;
constexpr std::uint64_t kFractionMask = 0x000FFFFFFFFFFFFFull;
constexpr std::uint64_t kQuietBit = 0x0008000000000000ull;
// The not-a-number that an invalid operation produces: sign set, quiet,
// nothing else.
constexpr std::uint64_t kDefaultNaN = 0xFFF8000000000000ull;

constexpr std::uint64_t kTen12 = 1000000000000ull;
constexpr std::uint64_t kTen13 = 10000000000000ull;
constexpr std::uint64_t kTen16 = 10000000000000000ull;
constexpr std::uint64_t kTen17 = 100000000000000000ull;

// The longest text is "-1.797693134862e+308": 20 bytes.
constexpr std::size_t kMaxText = 20;

Text hand_out(const char* bytes, std::size_t length) {
  char* text = allocate_text(length);
  std::memcpy(text, bytes, length);
  return text;
}

Text special_text(std::uint64_t bits) {
  const bool negative = (bits & kSignBit) != 0;
  const char* text = nullptr;
  if ((bits & kFractionMask) == 0) {
    text = negative ? "-1.#INF" : "1.#INF";
  } else if (bits == kDefaultNaN) {
    text = "-1.#IND";
  } else if ((bits & kQuietBit) != 0) {
    text = negative ? "-1.#QNAN" : "1.#QNAN";
  } else {
    text = negative ? "-1.#SNAN" : "1.#SNAN";
  }
  return hand_out(text, std::strlen(text));
}

}  // namespace

Text format_number(double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  if ((bits & kExponentMask) == kExponentMask) return special_text(bits);
  if ((bits & ~kSignBit) == 0) return hand_out("0", 1);

  // Step 1: the first 18 significant digits of |v|, truncated; x is the
  // power of ten of the first digit.
  const detail::LeadingDigits lead = detail::leading_digits(value);
  int x = lead.exponent;

  // Step 2: 17 digits, half up by the 18th digit alone. A carry out of the
  // first digit (99...9 -> 100...0) gives one digit more: drop it, raise x.
  std::uint64_t d17 = lead.digits / 10 + (lead.digits % 10 >= 5 ? 1 : 0);
  if (d17 == kTen17) {
    d17 = kTen16;
    ++x;
  }
  // Step 3: 13 digits, half up by the 14th of the 17 alone, same carry rule.
  std::uint64_t d13 = d17 / 10000 + ((d17 / 1000) % 10 >= 5 ? 1 : 0);
  if (d13 == kTen13) {
    d13 = kTen12;
    ++x;
  }

  char digit[13];
  for (int i = 12; i >= 0; --i) {
    digit[i] = static_cast<char>('0' + d13 % 10);
    d13 /= 10;
  }
  // Trailing zeros never show: after the point they are removed, and in
  // plain notation with x = 12 there is no point. Count the digits that stay
  // (the first digit is never zero).
  int used = 13;
  while (digit[used - 1] == '0') --used;

  // Step 4: the text, in plain notation for -4 <= x <= 12, else with an
  // exponent of at least three digits.
  char out[kMaxText + 4];
  std::size_t n = 0;
  if ((bits & kSignBit) != 0) out[n++] = '-';
  if (x >= 0 && x <= 12) {
    // Point after the first x + 1 digits; digits before it always stay.
    const int whole = x + 1;
    for (int i = 0; i < whole; ++i) out[n++] = digit[i];
    if (used > whole) {
      out[n++] = '.';
      for (int i = whole; i < used; ++i) out[n++] = digit[i];
    }
  } else if (x < 0 && x >= -4) {
    out[n++] = '0';
    out[n++] = '.';
    for (int i = 0; i < -x - 1; ++i) out[n++] = '0';
    for (int i = 0; i < used; ++i) out[n++] = digit[i];
  } else {
    out[n++] = digit[0];
    if (used > 1) {
      out[n++] = '.';
      for (int i = 1; i < used; ++i) out[n++] = digit[i];
    }
    out[n++] = 'e';
    out[n++] = x < 0 ? '-' : '+';
    // |x| <= 324: always exactly three digits.
    const int ax = x < 0 ? -x : x;
    out[n++] = static_cast<char>('0' + ax / 100);
    out[n++] = static_cast<char>('0' + ax / 10 % 10);
    out[n++] = static_cast<char>('0' + ax % 10);
  }
  return hand_out(out, n);
}

}  // namespace kalvoro
