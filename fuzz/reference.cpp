#include "fuzz/reference.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kalvoro::fuzz {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// Adds one unit in the last place of the decimal digit string `digits`.
// Returns true when the carry runs out of the first digit (the digits are then
// "1000...", one power of ten up).
bool increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
  digits.pop_back();
  return true;
}

void strip_trailing_zeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

// The significant digits (trailing zeros removed) and the power P with
// |x| = 0.digits * 10^P, from a "%.Ne" or "%.NLe" conversion "d.ddde[+-]x".
void split_conversion(const char* text, std::string& digits, long& power) {
  digits.clear();
  const char* at = text;
  for (; *at != 'e'; ++at)
    if (digit(*at)) digits += *at;
  power = std::strtol(at + 1, nullptr, 10) + 1;
}

}  // namespace

std::string reference_fold(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    if (i + 1 >= text.size() || text[i + 1] == '\0') break;  // lone lead byte
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);  // U+FF01..U+FF5E, yen, macron
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';  // ideographic space
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';  // fullwidth tilde
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';  // white and black star
    } else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

float reference_parse_single(std::string_view text) {
  const std::string s = reference_fold(text);
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // Significand: value = 0.<digits> * 10^power.
  std::string digits;
  std::int64_t power = 0;
  bool any = false;
  for (; i < s.size() && digit(s[i]); ++i) {
    any = true;
    digits += s[i];
    ++power;
  }
  if (i < s.size() && s[i] == '.') {
    std::size_t j = i + 1;
    for (; j < s.size() && digit(s[j]); ++j) {
      any = true;
      digits += s[j];
    }
    if (any) i = j;
  }
  if (!any) return 0.0f;

  // Exponent, saturated far beyond every range that matters.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent_negative = s[j++] == '-';
    if (j < s.size() && digit(s[j])) {
      std::int64_t exponent = 0;
      for (; j < s.size() && digit(s[j]); ++j)
        exponent = std::min<std::int64_t>(exponent * 10 + (s[j] - '0'), 1'000'000'000'000);
      power += exponent_negative ? -exponent : exponent;
    }
  }

  // Leading zeros are not significant.
  std::size_t first = 0;
  while (first < digits.size() && digits[first] == '0') ++first;
  digits.erase(0, first);
  power -= static_cast<std::int64_t>(first);
  if (digits.empty()) return negative ? -0.0f : 0.0f;

  // 25 or more significant digits: cut after the 25th, half up to 24.
  if (digits.size() >= 25) {
    const bool up = digits[24] >= '5';
    digits.resize(24);
    if (up && increment(digits)) ++power;
  }
  strip_trailing_zeros(digits);

  // Far outside the single range both roundings agree trivially.
  if (power > 40) return negative ? -HUGE_VALF : HUGE_VALF;
  if (power < -50) return negative ? -0.0f : 0.0f;

  char decimal[64];
  std::snprintf(decimal, sizeof decimal, "%s0.%se%lld", negative ? "-" : "", digits.c_str(),
                static_cast<long long>(power));
  // Nearest double, ties to even; a tie must go toward zero instead. A tie
  // is the midpoint between the result and its neighbour toward zero (the
  // other midpoint already goes toward zero under ties to even, or was not
  // chosen). The midpoint of two doubles is exact in extended precision.
  double nearest = std::strtod(decimal, nullptr);
  const double toward_zero = std::nextafter(nearest, 0.0);
  const long double midpoint =
      (static_cast<long double>(nearest) + static_cast<long double>(toward_zero)) / 2;
  if (std::strtold(decimal, nullptr) == midpoint) {
    // Maybe only within the extended rounding: compare exactly. Every
    // midpoint in this range has fewer than 400 significant digits.
    static char exact[512];
    std::snprintf(exact, sizeof exact, "%.400Le", std::fabs(midpoint));
    std::string mid_digits;
    long mid_power = 0;
    split_conversion(exact, mid_digits, mid_power);
    strip_trailing_zeros(mid_digits);
    if (mid_digits == digits && mid_power == power) nearest = toward_zero;
  }
  return static_cast<float>(nearest);
}

std::string reference_format_number(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const std::string sign = negative ? "-" : "";
  if (std::isinf(value)) return sign + "1.#INF";
  if (std::isnan(value)) {
    if (bits == 0xFFF8000000000000u) return "-1.#IND";
    const bool quiet = ((bits >> 51) & 1) != 0;
    return sign + (quiet ? "1.#QNAN" : "1.#SNAN");
  }
  if (value == 0) return "0";

  // The exact leading digits. "%.40e" rounds at the 41st digit; that can
  // reach the first 18 only through a run of nines, which then shows as a
  // run of zeros: in that case take the whole exact expansion (no double has
  // more than 767 significant digits).
  char text[900];
  std::snprintf(text, sizeof text, "%.40e", std::fabs(value));
  if (std::strncmp(text + 19, "00000000000000000000000", 23) == 0)
    std::snprintf(text, sizeof text, "%.800e", std::fabs(value));
  std::string digits;
  long power = 0;
  split_conversion(text, digits, power);
  digits.resize(18, '0');

  // Half up to 17 by the 18th, then half up to 13 by the 14th.
  bool up = digits[17] >= '5';
  digits.resize(17);
  if (up && increment(digits)) ++power;
  up = digits[13] >= '5';
  digits.resize(13);
  if (up && increment(digits)) ++power;

  const long x = power - 1;
  std::string out;
  if (x >= -4 && x <= 12) {
    if (x >= 0) {
      const auto whole = static_cast<std::size_t>(x + 1);
      std::string fraction = digits.substr(whole);
      strip_trailing_zeros(fraction);
      out = digits.substr(0, whole) + (fraction.empty() ? "" : "." + fraction);
    } else {
      std::string fraction = std::string(static_cast<std::size_t>(-x - 1), '0') + digits;
      strip_trailing_zeros(fraction);
      out = "0." + fraction;
    }
  } else {
    std::string fraction = digits.substr(1);
    strip_trailing_zeros(fraction);
    char exponent[32];
    std::snprintf(exponent, sizeof exponent, "e%c%03ld", x < 0 ? '-' : '+', std::labs(x));
    out = digits.substr(0, 1) + (fraction.empty() ? "" : "." + fraction) + exponent;
  }
  return sign + out;
}

bool is_number_text(std::string_view text) {
  if (text.empty() || text.size() > 20) return false;
  static constexpr std::string_view kSpecial[] = {"1.#INF",   "-1.#INF", "-1.#IND", "1.#QNAN",
                                                  "-1.#QNAN", "1.#SNAN", "-1.#SNAN"};
  for (std::string_view special : kSpecial)
    if (text == special) return true;
  if (text.front() == '-') text.remove_prefix(1);

  std::string_view mantissa = text;
  const std::size_t e = text.find('e');
  if (e != std::string_view::npos) {
    // d[.ddd]e[+-]ddd[d]: one non-zero digit before the point, at least three
    // exponent digits.
    std::string_view exponent = text.substr(e + 1);
    if (exponent.size() < 4 || (exponent[0] != '+' && exponent[0] != '-')) return false;
    for (char c : exponent.substr(1))
      if (!digit(c)) return false;
    mantissa = text.substr(0, e);
    if (mantissa.empty() || mantissa[0] == '0' || (mantissa.size() > 1 && mantissa[1] != '.'))
      return false;
  }
  // Plain part: digits, at most one point with digits after it and no
  // trailing zero; no leading zero unless it is the only digit before the point.
  const std::size_t point = mantissa.find('.');
  std::string_view whole = mantissa.substr(0, point);
  if (whole.empty() || (whole.size() > 1 && whole[0] == '0')) return false;
  std::size_t significant = 0;
  for (char c : whole) {
    if (!digit(c)) return false;
    if (significant > 0 || c != '0') ++significant;
  }
  if (point != std::string_view::npos) {
    std::string_view fraction = mantissa.substr(point + 1);
    if (fraction.empty() || fraction.back() == '0') return false;
    for (char c : fraction) {
      if (!digit(c)) return false;
      if (significant > 0 || c != '0') ++significant;
    }
  }
  return significant <= 13 && (significant > 0 || mantissa == "0");
}

}  // namespace kalvoro::fuzz
