// parse_single against an exact reference built on GMP integers.
//
// The reference is written to be obviously right rather than fast: the text
// (ASCII) is read with a plain grammar into a digit string and a power of
// ten, cut to 25 significant digits and rounded half up to 24 with integer
// arithmetic, and then rounded twice by exact comparison of integers: to the
// nearest double with ties toward zero, and that double to the nearest single
// with ties to even. Every sweep uses a fixed seed; a disagreement prints the
// text.

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calc/decimal_to_binary.h"
#include "calc/numeric.h"
#include "calc/pow10_table.h"
#include "tests/support/printable.h"

namespace kalvoro {
namespace {

// ------------------------------------------------------------ reference

mpz_class pow_ui(unsigned long base, unsigned long exponent) {
  mpz_class result;
  mpz_ui_pow_ui(result.get_mpz_t(), base, exponent);
  return result;
}

// num * 2^shift, for either sign of shift only on the side that stays whole:
// compares num with den * 2^e.
int compare_with_power_of_two(const mpz_class& num, const mpz_class& den, long e) {
  if (e >= 0) return cmp(num, mpz_class(den << static_cast<mp_bitcnt_t>(e)));
  return cmp(mpz_class(num << static_cast<mp_bitcnt_t>(-e)), den);
}

struct Rounded {
  mpz_class m;  // the value is m * 2^ulp
  long ulp = 0;
  bool overflow = false;
};

// num/den (> 0) rounded to `precision` significant bits, with places never
// finer than 2^min_ulp (the subnormals), and overflow when the rounded value
// reaches 2^overflow_exponent.
Rounded round_to_binary(const mpz_class& num, const mpz_class& den, long precision, long min_ulp,
                        long overflow_exponent, bool ties_to_even) {
  // e with 2^e <= num/den < 2^(e+1).
  long e = static_cast<long>(mpz_sizeinbase(num.get_mpz_t(), 2)) -
           static_cast<long>(mpz_sizeinbase(den.get_mpz_t(), 2));
  if (compare_with_power_of_two(num, den, e) < 0) --e;
  Rounded r;
  r.ulp = std::max(e - (precision - 1), min_ulp);
  // y = num/den / 2^ulp = a/b; m = floor(y), remainder decides.
  mpz_class a = num, b = den;
  if (r.ulp < 0) {
    a <<= static_cast<mp_bitcnt_t>(-r.ulp);
  } else {
    b <<= static_cast<mp_bitcnt_t>(r.ulp);
  }
  mpz_class remainder;
  mpz_fdiv_qr(r.m.get_mpz_t(), remainder.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
  const int half = cmp(mpz_class(remainder * 2), b);
  if (half > 0 || (half == 0 && ties_to_even && mpz_odd_p(r.m.get_mpz_t()))) ++r.m;
  // value m * 2^ulp >= 2^overflow_exponent?
  r.overflow = r.m != 0 && static_cast<long>(mpz_sizeinbase(r.m.get_mpz_t(), 2)) - 1 + r.ulp >=
                               overflow_exponent;
  return r;
}

bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }

// What the reference finds in a text: the decimal after the 24-digit
// rounding (digits * 10^scale), the nearest double and the single.
struct Reading {
  bool number = false;  // a digit was found
  bool negative = false;
  mpz_class digits;  // < 10^24
  long scale = 0;
  double nearest_double = 0.0;
  float single = 0.0f;
};

float signed_single(bool negative, float magnitude) { return negative ? -magnitude : magnitude; }
double signed_double(bool negative, double magnitude) { return negative ? -magnitude : magnitude; }

Reading reference_parse(const std::string& s) {
  Reading r;
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  std::string int_digits, fraction_digits;
  while (i < n && is_ascii_digit(s[i])) int_digits += s[i++];
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && is_ascii_digit(s[i])) fraction_digits += s[i++];
  }
  if (int_digits.empty() && fraction_digits.empty()) return r;  // +0
  long exponent = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (j < n && (s[j] == '+' || s[j] == '-')) exponent_negative = s[j++] == '-';
    if (j < n && is_ascii_digit(s[j])) {
      mpz_class e = 0;
      while (j < n && is_ascii_digit(s[j])) e = e * 10 + (s[j++] - '0');
      if (!e.fits_slong_p() || e > 100000) ADD_FAILURE() << "reference: exponent out of reach";
      exponent = exponent_negative ? -e.get_si() : e.get_si();
    }
  }
  r.number = true;
  r.negative = negative;
  r.nearest_double = signed_double(negative, 0.0);
  r.single = signed_single(negative, 0.0f);
  // value = digits * 10^scale
  std::string digits = int_digits + fraction_digits;
  r.scale = exponent - static_cast<long>(fraction_digits.size());
  digits.erase(0, digits.find_first_not_of('0'));  // npos: all zeros
  if (digits.empty()) return r;
  if (digits.size() >= 25) {
    r.scale += static_cast<long>(digits.size()) - 24;
    r.digits = (mpz_class(digits.substr(0, 25)) + 5) / 10;  // half up by the 25th digit
  } else {
    r.digits = mpz_class(digits);
  }
  mpz_class num = r.digits, den = 1;
  if (r.scale >= 0) {
    num *= pow_ui(10, static_cast<unsigned long>(r.scale));
  } else {
    den = pow_ui(10, static_cast<unsigned long>(-r.scale));
  }
  // Nearest double, ties toward zero. m <= 2^53: the double is exact.
  const Rounded d = round_to_binary(num, den, 53, -1074, 1024, false);
  if (d.overflow) {
    r.nearest_double = signed_double(negative, std::numeric_limits<double>::infinity());
    r.single = signed_single(negative, std::numeric_limits<float>::infinity());
    return r;
  }
  if (d.m == 0) return r;
  r.nearest_double = signed_double(negative, std::ldexp(d.m.get_d(), static_cast<int>(d.ulp)));
  // That double to the nearest single, ties to even: d = m * 2^ulp exactly.
  mpz_class dnum = d.m, dden = 1;
  if (d.ulp >= 0) {
    dnum <<= static_cast<mp_bitcnt_t>(d.ulp);
  } else {
    dden <<= static_cast<mp_bitcnt_t>(-d.ulp);
  }
  const Rounded f = round_to_binary(dnum, dden, 24, -149, 128, true);
  if (f.overflow) {
    r.single = signed_single(negative, std::numeric_limits<float>::infinity());
  } else {
    // m <= 2^24 and m * 2^ulp is a single (or 0): exact.
    r.single = signed_single(negative,
                             std::ldexp(static_cast<float>(f.m.get_ui()), static_cast<int>(f.ulp)));
  }
  return r;
}

// The product's double stage on the reference's own 24-digit decimal.
double product_double(const Reading& r) {
  const mpz_class high = r.digits >> 64;
  const mpz_class low = r.digits - (high << 64);
  const auto digits = (static_cast<unsigned __int128>(high.get_ui()) << 64) | low.get_ui();
  return detail::decimal_to_double(r.negative, digits, r.scale);
}

// Compares parse_single (and its double stage) with the reference; returns
// a description of the disagreement, or "" when there is none.
std::string disagreement(const std::string& text, const std::string& reference_text) {
  const Reading r = reference_parse(reference_text);
  const float got = parse_single(text.c_str());
  std::ostringstream out;
  out << std::hexfloat;
  if (std::bit_cast<std::uint32_t>(got) != std::bit_cast<std::uint32_t>(r.single)) {
    out << "single " << got << ", reference " << r.single << "; ";
  }
  if (r.number) {
    const double d = product_double(r);
    if (std::bit_cast<std::uint64_t>(d) != std::bit_cast<std::uint64_t>(r.nearest_double)) {
      out << "double of " << r.digits.get_str() << "e" << r.scale << ": " << d << ", reference "
          << r.nearest_double;
    }
  }
  return out.str();
}

// ------------------------------------------------------------ generators

using Rng = std::mt19937_64;

std::size_t pick(Rng& rng, std::size_t n) { return static_cast<std::size_t>(rng() % n); }

std::string random_digits(Rng& rng, std::size_t count) {
  std::string s;
  for (std::size_t i = 0; i < count; ++i) s += static_cast<char>('0' + pick(rng, 10));
  return s;
}

std::string random_prefix(Rng& rng) {
  static const char* const kPrefixes[] = {"", "", "", "", "-", "+", " ", "\t-", "  +"};
  return kPrefixes[pick(rng, std::size(kPrefixes))];
}

std::string random_suffix(Rng& rng) {
  static const char* const kSuffixes[] = {"",   "",   "",   "",  "x", ",5",   "e",
                                          "e+", "E-", " 7", ".", "d", "e5e3", ":9"};
  return kSuffixes[pick(rng, std::size(kSuffixes))];
}

// Puts a point into a digit string at a random place (or none).
std::string with_point(Rng& rng, const std::string& digits) {
  const std::size_t at = pick(rng, digits.size() + 2);
  if (at > digits.size()) return digits;
  return digits.substr(0, at) + "." + digits.substr(at);
}

std::string random_exponent(Rng& rng, long low, long high) {
  static const char kLetters[] = {'e', 'E', 'd', 'D'};
  const long e = low + static_cast<long>(pick(rng, static_cast<std::size_t>(high - low + 1)));
  std::string s(1, kLetters[pick(rng, 4)]);
  if (e < 0) {
    s += '-';
  } else if (rng() % 2) {
    s += '+';
  }
  if (rng() % 8 == 0) s += "00";
  return s + std::to_string(std::labs(e));
}

// The exact decimal of m * 2^e2, as digits with a point and an exponent,
// in one of a few equivalent spellings.
std::string exact_decimal(Rng& rng, const mpz_class& m, long e2, bool plain = false) {
  std::string digits;
  long exponent = 0;
  if (e2 >= 0) {
    digits = mpz_class(m << static_cast<mp_bitcnt_t>(e2)).get_str();
  } else {
    digits = mpz_class(m * pow_ui(5, static_cast<unsigned long>(-e2))).get_str();
    exponent = e2;
  }
  switch (plain ? 2 : pick(rng, 3)) {
    case 0:  // integer digits and exponent: 1234e-5
      return digits + "e" + std::to_string(exponent);
    case 1: {  // one digit before the point: 1.234e-2
      const long x = exponent + static_cast<long>(digits.size()) - 1;
      return digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(x);
    }
    default: {  // plain: 0.01234 or 1234000
      if (exponent >= 0) return digits;
      const auto places = static_cast<std::size_t>(-exponent);
      if (digits.size() > places) {
        return digits.substr(0, digits.size() - places) + "." +
               digits.substr(digits.size() - places);
      }
      return "0." + std::string(places - digits.size(), '0') + digits;
    }
  }
}

// m and e of a finite positive double d = m * 2^e.
void decompose(double d, mpz_class& m, long& e) {
  const auto bits = std::bit_cast<std::uint64_t>(d);
  const auto biased = static_cast<long>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  m = static_cast<unsigned long>(biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52));
  e = (biased == 0 ? 1 : biased) - 1075;
}

double random_positive_double(Rng& rng, int low_biased, int high_biased) {
  const auto biased = static_cast<std::uint64_t>(
      low_biased +
      static_cast<int>(pick(rng, static_cast<std::size_t>(high_biased - low_biased + 1))));
  return std::bit_cast<double>((biased << 52) | (rng() & ((std::uint64_t{1} << 52) - 1)));
}

// The text of the exact midpoint between d and the next double up (or, for
// `single`, between the single d and the next single up).
std::string midpoint_text(Rng& rng, double d, bool single, bool plain = false) {
  const double next = single ? static_cast<double>(std::nextafter(
                                   static_cast<float>(d), std::numeric_limits<float>::infinity()))
                             : std::nextafter(d, std::numeric_limits<double>::infinity());
  mpz_class m1, m2;
  long e1 = 0, e2 = 0;
  decompose(d, m1, e1);
  decompose(next, m2, e2);
  // Bring both to the smaller exponent, then the midpoint is (m1 + m2) * 2^(e - 1).
  const long e = std::min(e1, e2);
  m1 <<= static_cast<mp_bitcnt_t>(e1 - e);
  m2 <<= static_cast<mp_bitcnt_t>(e2 - e);
  return exact_decimal(rng, m1 + m2, e - 1, plain);
}

// Full-width spelling of an ASCII text, character by character at random.
std::string full_width(Rng& rng, const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    if (rng() % 2 == 0 || c < ' ' || c > '~') {
      out += c;
    } else if (c == ' ') {
      out += "\xA1\xA1";
    } else {
      out += '\xA3';
      out += static_cast<char>(static_cast<unsigned char>(c) + 0x80);
    }
  }
  return out;
}

// ------------------------------------------------------------ sweeps

std::string shown(const std::string& text) { return testing::printable(text, 1000); }

constexpr int kPerSweep = 100'000;

// Runs `generate` kPerSweep times and compares parse_single with the
// reference on each text; stops after a few reported disagreements.
template <typename Generate>
void sweep(std::uint64_t seed, Generate generate) {
  Rng rng(seed);
  int disagreements = 0;
  for (int i = 0; i < kPerSweep; ++i) {
    const std::string text = generate(rng);
    const std::string problem = disagreement(text, text);
    if (!problem.empty() && ++disagreements <= 10) {
      ADD_FAILURE() << "\"" << shown(text) << "\": " << problem;
    }
  }
  EXPECT_EQ(disagreements, 0) << "seed " << seed;
}

TEST(ParseSingleReference, ShortNumbers) {
  sweep(1, [](Rng& rng) {
    return random_prefix(rng) + with_point(rng, random_digits(rng, 1 + pick(rng, 9))) +
           random_suffix(rng);
  });
}

TEST(ParseSingleReference, TwentyToFortyDigits) {
  sweep(2, [](Rng& rng) {
    std::string digits = std::string(pick(rng, 4) == 0 ? pick(rng, 30) : 0, '0') +
                         random_digits(rng, 20 + pick(rng, 21));
    // Runs of nines and zeros reach the carries of the 24-digit rounding.
    if (rng() % 4 == 0) digits.replace(pick(rng, 10), 20, 20, rng() % 2 ? '9' : '0');
    return random_prefix(rng) + with_point(rng, digits) + random_suffix(rng);
  });
}

TEST(ParseSingleReference, Exponents) {
  sweep(3, [](Rng& rng) {
    return random_prefix(rng) + with_point(rng, random_digits(rng, 1 + pick(rng, 30))) +
           random_exponent(rng, -360, 330) + random_suffix(rng);
  });
}

TEST(ParseSingleReference, HalfwayBetweenDoubles) {
  sweep(4, [](Rng& rng) {
    // Midpoints with at most 24 significant digits lie near [2^42, 2^80):
    // exact ties there; elsewhere the cut makes them near-ties.
    const double d = rng() % 2 ? random_positive_double(rng, 1023 + 42, 1023 + 79)
                               : random_positive_double(rng, 0, 2046);
    return random_prefix(rng) + midpoint_text(rng, d, false);
  });
}

TEST(ParseSingleReference, HalfwayBetweenSingles) {
  sweep(5, [](Rng& rng) {
    if (rng() % 2) {
      const auto bits = static_cast<std::uint32_t>(rng() % 0x7F7FFFFFu);  // finite, below max
      return random_prefix(rng) +
             midpoint_text(rng, static_cast<double>(std::bit_cast<float>(bits)), true);
    }
    // A double tie right beside a single midpoint: its direction (toward
    // zero) decides the single. Such ties have at most 24 digits between
    // 2^42 and 2^80.
    const auto bits = static_cast<std::uint32_t>(
        ((127u + 42u + static_cast<std::uint32_t>(rng() % 37)) << 23) | (rng() & 0x7FFFFF));
    const float f = std::bit_cast<float>(bits);
    const double single_midpoint =
        (static_cast<double>(f) +
         static_cast<double>(std::nextafter(f, std::numeric_limits<float>::infinity()))) /
        2;
    const double below = std::nextafter(single_midpoint, 0.0);
    std::string text = midpoint_text(rng, rng() % 2 ? below : single_midpoint, false, true);
    if (rng() % 2) {
      // Padded to 24 significant digits and followed by digits that the
      // rounding by the 25th keeps on the tie or lifts above it.
      static const char* const kTails[] = {"4", "49999999", "5", "50000", "0", "00000001"};
      if (text.find('.') == std::string::npos) text += '.';
      const std::size_t first = text.find_first_not_of("0.");
      std::size_t significant = 0;
      for (std::size_t i = first; i < text.size(); ++i) significant += text[i] != '.';
      text += std::string(24 - std::min<std::size_t>(24, significant), '0');
      text += kTails[pick(rng, std::size(kTails))];
    }
    return random_prefix(rng) + text;
  });
}

TEST(ParseSingleReference, NearTheLimits) {
  // Exact values of the range limits: m * 2^e.
  struct Limit {
    unsigned long m;
    long e;
  };
  const Limit limits[] = {
      {0xFFFFFF, 104},           // largest single
      {0x1FFFFFF, 103},          // largest single plus half a place
      {1, 128},                  // 2^128
      {1, -126},                 // smallest normal single
      {1, -149},                 // smallest subnormal single
      {1, -150},                 // half of it
      {3, -150},                 // 1.5 times it
      {0x1FFFFFFFFFFFFF, 971},   // largest double
      {0x3FFFFFFFFFFFFF, 970},   // largest double plus half a place
      {1, -1022},                // smallest normal double
      {0xFFFFFFFFFFFFF, -1074},  // largest subnormal double
      {1, -1074},                // smallest subnormal double
      {1, -1075},                // half of it
  };
  // Each limit's exact decimal digits; the limit is digits * 10^min(e, 0),
  // since m * 2^-k = (m * 5^k) * 10^-k.
  std::vector<std::string> exact;
  for (const Limit& l : limits) {
    const mpz_class m(l.m);
    exact.push_back(l.e >= 0
                        ? mpz_class(m << static_cast<mp_bitcnt_t>(l.e)).get_str()
                        : mpz_class(m * pow_ui(5, static_cast<unsigned long>(-l.e))).get_str());
  }
  sweep(6, [&](Rng& rng) {
    // A prefix of the limit's digits (1 to 40 of them), nudged by -2..+2 in
    // its last place, written with the limit's power of ten.
    const std::size_t which = pick(rng, std::size(limits));
    const std::string& digits = exact[which];
    const std::size_t keep = std::min(digits.size(), 1 + pick(rng, 40));
    mpz_class prefix(digits.substr(0, keep));
    prefix += static_cast<long>(pick(rng, 5)) - 2;
    if (prefix < 0) prefix = 0;
    // digits * 10^-k was the limit; the prefix drops (size - keep) digits.
    const long e10 =
        (limits[which].e >= 0 ? 0 : limits[which].e) + static_cast<long>(digits.size() - keep);
    return random_prefix(rng) + prefix.get_str() + "e" + std::to_string(e10);
  });
}

TEST(ParseSingleReference, FullWidthSpellings) {
  Rng rng(7);
  int disagreements = 0;
  for (int i = 0; i < kPerSweep; ++i) {
    std::string ascii;
    switch (pick(rng, 3)) {
      case 0:
        ascii = random_prefix(rng) + with_point(rng, random_digits(rng, 1 + pick(rng, 12))) +
                random_suffix(rng);
        break;
      case 1:
        ascii = random_prefix(rng) + with_point(rng, random_digits(rng, 1 + pick(rng, 30))) +
                random_exponent(rng, -60, 60) + random_suffix(rng);
        break;
      default:
        ascii =
            midpoint_text(rng, random_positive_double(rng, 1023 - 30, 1023 + 60), rng() % 2 != 0);
        break;
    }
    const std::string wide = full_width(rng, ascii);
    // Each spelling against the reference reading of the ASCII one.
    const std::string* const spellings[] = {&ascii, &wide};
    for (const std::string* text : spellings) {
      const std::string problem = disagreement(*text, ascii);
      if (!problem.empty() && ++disagreements <= 10) {
        ADD_FAILURE() << "\"" << shown(*text) << "\" (ASCII \"" << shown(ascii)
                      << "\"): " << problem;
      }
    }
  }
  EXPECT_EQ(disagreements, 0);
}

// The generated table of truncated powers of ten that both conversions'
// fast paths rest on: every entry a 128-bit significand P (top bit set) with
// P * 2^b <= 10^k < (P + 1) * 2^b, equal where the table says it is exact.
TEST(Pow10Table, TruncatedPowersOfTen) {
  for (int k = detail::kPow10First; k <= detail::kPow10Last; ++k) {
    const detail::Pow10Entry& entry = detail::pow10_entry(k);
    const mpz_class p = (mpz_class(static_cast<unsigned long>(entry.high)) << 64) +
                        mpz_class(static_cast<unsigned long>(entry.low));
    // 10^k = num / den exactly.
    const mpz_class num = k >= 0 ? pow_ui(10, static_cast<unsigned long>(k)) : mpz_class(1);
    const mpz_class den = k >= 0 ? mpz_class(1) : pow_ui(10, static_cast<unsigned long>(-k));
    const long b = entry.binary_exponent;
    const bool exact = k >= 0 && k <= detail::kPow10ExactLast;
    EXPECT_EQ(mpz_sizeinbase(p.get_mpz_t(), 2), 128u) << "1e" << k;
    // p * 2^b <= num / den < (p + 1) * 2^b, comparing num with den * p * 2^b.
    EXPECT_GE(compare_with_power_of_two(num, mpz_class(den * p), b), 0) << "1e" << k;
    const int above = compare_with_power_of_two(num, mpz_class(den * (p + 1)), b);
    EXPECT_LT(above, 0) << "1e" << k;
    EXPECT_EQ(compare_with_power_of_two(num, mpz_class(den * p), b) == 0, exact) << "1e" << k;
  }
}

}  // namespace
}  // namespace kalvoro
