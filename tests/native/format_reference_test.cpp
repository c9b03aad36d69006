// format_number and round_places against slow, obviously right references in
// exact rational arithmetic (GMP), swept with fixed seeds.
//
// format reference: the exact decimal expansion of |v| as a digit string,
// then both half-up roundings and the notation done on the string.
// round_places reference: every step on exact rationals, rounded to extended
// (64-bit significand) and to double (53 bits, subnormals, overflow to inf)
// exactly where the rule stores or forms a value.
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "calc/decimal_digits.h"
#include "calc/numeric.h"
#include "calc/text.h"

namespace kalvoro {
namespace {

constexpr int kSweep = 100000;
constexpr int kMaxReported = 10;

std::uint64_t bits_of(double x) { return std::bit_cast<std::uint64_t>(x); }
double from_bits(std::uint64_t b) { return std::bit_cast<double>(b); }

// |v| = m * 2^e2 exactly (finite v).
void split(double v, mpz_class& m, long& e2) {
  const std::uint64_t b = bits_of(v);
  const long field = static_cast<long>((b >> 52) & 0x7FF);
  const std::uint64_t fraction = b & 0xFFFFFFFFFFFFFull;
  const std::uint64_t mantissa = field == 0 ? fraction : fraction | (1ull << 52);
  m = mpz_class(static_cast<unsigned long>(mantissa));
  e2 = field == 0 ? -1074 : field - 1075;
}

// ---------------------------------------------------------------------------
// format reference

// Adds one unit in the last place of a digit string; true when the carry
// runs out of the first digit (the string is then all zeros).
bool increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// Rounds to `keep` digits half up by digit keep + 1 alone.
void round_digits(std::string& digits, std::size_t keep, long& x) {
  const bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (up && increment(digits)) {
    digits = "1" + std::string(keep - 1, '0');
    ++x;
  }
}

void strip_fraction_zeros(std::string& s) {
  if (s.find('.') == std::string::npos) return;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
}

std::string reference_format(double v) {
  const std::uint64_t b = bits_of(v);
  const bool negative = (b >> 63) != 0;
  if ((b & 0x7FF0000000000000ull) == 0x7FF0000000000000ull) {
    const std::uint64_t fraction = b & 0xFFFFFFFFFFFFFull;
    if (fraction == 0) return negative ? "-1.#INF" : "1.#INF";
    if (b == 0xFFF8000000000000ull) return "-1.#IND";
    const bool quiet = (fraction >> 51) != 0;
    return std::string(negative ? "-" : "") + (quiet ? "1.#QNAN" : "1.#SNAN");
  }
  if (v == 0) return "0";

  // The exact decimal expansion: |v| = integer / 10^scale with all digits
  // of `integer` written out (m * 2^e2 = m * 5^-e2 / 10^-e2).
  mpz_class m;
  long e2 = 0;
  split(v, m, e2);
  mpz_class integer = m;
  long scale = 0;
  if (e2 >= 0) {
    integer <<= static_cast<mp_bitcnt_t>(e2);
  } else {
    mpz_class five;
    mpz_ui_pow_ui(five.get_mpz_t(), 5, static_cast<unsigned long>(-e2));
    integer *= five;
    scale = -e2;
  }
  std::string digits = integer.get_str();
  // |v| = 0.digits x 10^(size - scale): the first digit stands at 10^x.
  long x = static_cast<long>(digits.size()) - scale - 1;
  if (digits.size() < 18) digits.append(18 - digits.size(), '0');
  digits.resize(18);

  round_digits(digits, 17, x);
  round_digits(digits, 13, x);

  std::string s;
  if (x >= 0 && x <= 12) {
    s = digits.substr(0, static_cast<std::size_t>(x + 1)) + "." +
        digits.substr(static_cast<std::size_t>(x + 1));
    strip_fraction_zeros(s);
  } else if (x < 0 && x >= -4) {
    s = "0." + std::string(static_cast<std::size_t>(-x - 1), '0') + digits;
    strip_fraction_zeros(s);
  } else {
    s = digits.substr(0, 1) + "." + digits.substr(1);
    strip_fraction_zeros(s);
    std::string e = std::to_string(x < 0 ? -x : x);
    while (e.size() < 3) e = "0" + e;
    s += std::string("e") + (x < 0 ? "-" : "+") + e;
  }
  return negative ? "-" + s : s;
}

std::string format(double v) {
  Text t = format_number(v);
  std::string s(t);
  release_text(t);
  return s;
}

// Compares format_number with the reference over `values`, and both fast
// leading-digit paths with the exact one wherever they claim a result.
void expect_formats_agree(const std::vector<double>& values) {
  int disagreements = 0;
  for (double v : values) {
    const std::string expected = reference_format(v);
    const std::string actual = format(v);
    bool ok = expected == actual && actual.size() <= 20;
    if (std::isfinite(v) && v != 0) {
      const detail::LeadingDigits exact = detail::leading_digits_exact(v);
      detail::LeadingDigits fast{};
      detail::LeadingDigits table{};
      const char* wrong = nullptr;
      if (detail::leading_digits_fast(v, fast) &&
          (fast.digits != exact.digits || fast.exponent != exact.exponent)) {
        wrong = "128-bit";
      } else if (detail::leading_digits_table(v, table) &&
                 (table.digits != exact.digits || table.exponent != exact.exponent)) {
        wrong = "table";
        fast = table;
      }
      if (wrong != nullptr) {
        ok = false;
        ADD_FAILURE() << std::hexfloat << v << ": " << wrong << " path digits " << fast.digits
                      << "e" << fast.exponent << ", exact " << exact.digits << "e"
                      << exact.exponent;
      }
    }
    if (!ok && ++disagreements <= kMaxReported) {
      ADD_FAILURE() << std::hexfloat << v << " (0x" << std::hex << bits_of(v)
                    << "): format_number gives \"" << actual << "\", reference \"" << expected
                    << "\"";
    }
  }
  EXPECT_EQ(disagreements, 0) << "of " << values.size() << " values";
}

TEST(FormatReference, ReferenceAgreesWithNamedCases) {
  // The reference itself on a few cases whose text is known independently.
  EXPECT_EQ(reference_format(1000000000.0005), "1000000000.001");
  EXPECT_EQ(reference_format(9999999999999.5), "1e+013");
  EXPECT_EQ(reference_format(0x1p-1074), "4.940656458412e-324");
  EXPECT_EQ(reference_format(-DBL_MAX), "-1.797693134862e+308");
  EXPECT_EQ(reference_format(0.00001), "1e-005");
  EXPECT_EQ(reference_format(9.99999999999995), "10");
}

TEST(FormatReference, RandomBitPatterns) {
  std::mt19937_64 rng(20240601);
  std::vector<double> values;
  for (int i = 0; i < kSweep; ++i) values.push_back(from_bits(rng()));
  expect_formats_agree(values);
}

// A decimal with `digits` random significant digits, the last one 5, at a
// random power of ten: the double nearest to it, and its two neighbours.
void add_decimal_halfway(std::mt19937_64& rng, int digits, int min_exp, int max_exp,
                         std::vector<double>& out) {
  std::string text = std::to_string(1 + rng() % 9);
  for (int d = 1; d < digits - 1; ++d) text += static_cast<char>('0' + rng() % 10);
  text += "5e";
  text += std::to_string(min_exp +
                         static_cast<int>(rng() % static_cast<unsigned>(max_exp - min_exp + 1)));
  const double v = std::strtod(text.c_str(), nullptr);
  out.push_back(v);
  out.push_back(std::nextafter(v, 0.0));
  out.push_back(std::nextafter(v, INFINITY));
}

TEST(FormatReference, TypicalResults) {
  std::mt19937_64 rng(7);
  std::vector<double> values;
  while (values.size() < static_cast<std::size_t>(kSweep)) {
    switch (rng() % 5) {
      case 0: {  // few decimals: n / 10^k, both exact, one rounding
        const double n = static_cast<double>(rng() % 100000000);
        const double v = n / std::pow(10.0, static_cast<double>(rng() % 7));
        values.push_back(rng() % 4 == 0 ? -v : v);
        break;
      }
      case 1:  // halfway at 14 significant digits
        add_decimal_halfway(rng, 14, -30, 30, values);
        break;
      case 2:  // halfway at 18 significant digits
        add_decimal_halfway(rng, 18, -30, 30, values);
        break;
      case 3: {  // what a handler passes: a rounded value
        const double x =
            std::ldexp(static_cast<double>(rng() >> 11), -static_cast<int>(rng() % 60));
        values.push_back(round_places(x, rng() % 2 == 0 ? 1 : 4));
        break;
      }
      default:  // 13-digit boundaries: 10^k - tiny, 9999999999999.5 x 10^j
        add_decimal_halfway(rng, 14, -10, 20, values);
        values.push_back(std::strtod(
            ("99999999999995e" + std::to_string(static_cast<int>(rng() % 40) - 20)).c_str(),
            nullptr));
        break;
    }
  }
  expect_formats_agree(values);
}

TEST(FormatReference, Subnormals) {
  std::mt19937_64 rng(11);
  std::vector<double> values;
  for (int i = 0; i < kSweep; ++i) {
    // Fraction of random width, so that short subnormals are common too.
    const std::uint64_t fraction = (rng() & 0xFFFFFFFFFFFFFull) >> (rng() % 52);
    values.push_back(from_bits(fraction | (rng() % 2 == 0 ? 0 : 0x8000000000000000ull)));
  }
  expect_formats_agree(values);
}

TEST(FormatReference, NearLargestDouble) {
  std::mt19937_64 rng(13);
  std::vector<double> values;
  for (int i = 0; i < kSweep; ++i) {
    const std::uint64_t below = rng() >> (11 + rng() % 53);
    const std::uint64_t b = 0x7FEFFFFFFFFFFFFFull - below;
    values.push_back(from_bits(b | (rng() % 2 == 0 ? 0 : 0x8000000000000000ull)));
  }
  expect_formats_agree(values);
}

TEST(FormatReference, PowersOfTenAndNeighbours) {
  std::mt19937_64 rng(17);
  std::vector<double> values;
  for (int k = -323; k <= 308; ++k) {
    values.push_back(std::strtod(("1e" + std::to_string(k)).c_str(), nullptr));
  }
  while (values.size() < static_cast<std::size_t>(kSweep)) {
    const int k = static_cast<int>(rng() % 632) - 323;
    const double p = std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
    const std::int64_t step = static_cast<std::int64_t>(rng() % 2001) - 1000;
    const std::uint64_t b = bits_of(p) + static_cast<std::uint64_t>(step);
    values.push_back(from_bits(b));
  }
  expect_formats_agree(values);
}

// Both fast paths wherever they claim a result, against the exact path: the
// 128-bit path around and across the edges of its range, the table path over
// every exponent field (subnormals included).
TEST(FormatReference, FastDigitsMatchExactDigits) {
  std::mt19937_64 rng(19);
  int fast_taken = 0;
  int table_taken = 0;
  int disagreements = 0;
  auto check = [&](double v, const detail::LeadingDigits& got, const char* path) {
    const detail::LeadingDigits exact = detail::leading_digits_exact(v);
    if ((got.digits != exact.digits || got.exponent != exact.exponent) &&
        ++disagreements <= kMaxReported) {
      ADD_FAILURE() << std::hexfloat << v << ": " << path << " " << got.digits << "e"
                    << got.exponent << ", exact " << exact.digits << "e" << exact.exponent;
    }
  };
  for (int i = 0; i < 2 * kSweep; ++i) {
    // Exponent fields 1003 .. 1153: |v| from about 1e-6 to 2^130.
    const std::uint64_t field = 1003 + rng() % 151;
    const double v = from_bits((field << 52) | (rng() & 0xFFFFFFFFFFFFFull));
    detail::LeadingDigits fast{};
    if (!detail::leading_digits_fast(v, fast)) continue;
    ++fast_taken;
    check(v, fast, "128-bit");
  }
  for (int i = 0; i < 4 * kSweep; ++i) {
    // Every exponent field 0 .. 2046; a short fraction now and then (exact
    // decimals, powers of two).
    const std::uint64_t field = rng() % 2047;
    const std::uint64_t fraction =
        (rng() & 0xFFFFFFFFFFFFFull) >> (rng() % 4 == 0 ? rng() % 53 : 0);
    const double v = from_bits((field << 52) | fraction);
    if (v == 0) continue;
    detail::LeadingDigits table{};
    if (!detail::leading_digits_table(v, table)) continue;
    ++table_taken;
    check(v, table, "table");
  }
  EXPECT_EQ(disagreements, 0);
  // Both paths must really have been exercised (each covers most of its
  // range).
  EXPECT_GT(fast_taken, kSweep);
  EXPECT_GT(table_taken, 3 * kSweep);
}

// Values at the boundaries of the 18 truncated digits, where the table
// product must give way: doubles nearest to random 18- and 19-digit decimals
// and their neighbours (|v| * 10^q within a few units of an integer), and
// doubles for which |v| * 10^q is an integer, c * 5^j * 2^e with j up to 22
// (10^22 is the largest power of ten that is a double), which a truncated
// power of ten puts just below that integer.
TEST(FormatReference, DigitBoundaries) {
  std::mt19937_64 rng(23);
  std::vector<double> values;
  while (values.size() < static_cast<std::size_t>(kSweep)) {
    std::string text = std::to_string(1 + rng() % 9);
    const int length = 18 + static_cast<int>(rng() % 2);
    for (int d = 1; d < length; ++d) text += static_cast<char>('0' + rng() % 10);
    text += "e" + std::to_string(static_cast<int>(rng() % 650) - 340);
    const double v = std::strtod(text.c_str(), nullptr);
    if (v == 0 || !std::isfinite(v)) continue;
    for (int step = -2; step <= 2; ++step) {
      values.push_back(from_bits(bits_of(v) + static_cast<std::uint64_t>(step)));
    }
  }
  for (int j = 0; j <= 22; ++j) {
    double five = 1;
    for (int n = 0; n < j; ++n) five *= 5;  // exact: 5^22 < 2^53
    for (double c : {1.0, 3.0, 7.0, 9.0, 11.0, 13.0, 17.0}) {
      if (c * five >= 0x1p53) continue;
      for (int e = -1074; e <= 1023; e += 1 + static_cast<int>(rng() % 3)) {
        const double v = std::ldexp(c * five, e);
        if (v != 0 && std::isfinite(v)) values.push_back(v);
      }
    }
  }
  expect_formats_agree(values);
}

// ---------------------------------------------------------------------------
// round_places reference

// A non-negative binary floating-point value: n * 2^q, or infinity.
struct Binary {
  bool infinite = false;
  mpq_class value;
};

mpq_class times_pow2(mpq_class x, long k) {
  if (k >= 0) {
    mpq_mul_2exp(x.get_mpq_t(), x.get_mpq_t(), static_cast<mp_bitcnt_t>(k));
  } else {
    mpq_div_2exp(x.get_mpq_t(), x.get_mpq_t(), static_cast<mp_bitcnt_t>(-k));
  }
  return x;
}

// Rounds x >= 0 to nearest, ties to even, to a `precision`-bit significand
// whose last place is never below 2^min_quantum (subnormals); a result of
// 2^(max_exponent + 1) or more is infinite.
Binary round_to(const mpq_class& x, long precision, long min_quantum, long max_exponent) {
  if (x == 0) return Binary{false, mpq_class(0)};
  // e = floor(log2 x): 2^(bn - bd - 1) < x < 2^(bn - bd + 1).
  long e = static_cast<long>(mpz_sizeinbase(x.get_num_mpz_t(), 2)) -
           static_cast<long>(mpz_sizeinbase(x.get_den_mpz_t(), 2));
  if (x < times_pow2(mpq_class(1), e)) --e;
  const long quantum = std::max(e - precision + 1, min_quantum);
  const mpq_class scaled = times_pow2(x, -quantum);
  mpz_class n;
  mpz_fdiv_q(n.get_mpz_t(), scaled.get_num_mpz_t(), scaled.get_den_mpz_t());
  const mpq_class rest = scaled - mpq_class(n);
  if (rest > mpq_class(1, 2) || (rest == mpq_class(1, 2) && mpz_odd_p(n.get_mpz_t()))) ++n;
  mpq_class result = times_pow2(mpq_class(n), quantum);
  if (result >= times_pow2(mpq_class(1), max_exponent + 1)) return Binary{true, mpq_class(0)};
  return Binary{false, result};
}

Binary to_extended(const mpq_class& x) { return round_to(x, 64, -16445, 16383); }
Binary to_double(const Binary& x) { return x.infinite ? x : round_to(x.value, 53, -1074, 1023); }
// Formed in extended, stored as a double: two roundings.
Binary extended_then_double(const mpq_class& x) { return to_double(to_extended(x)); }

mpq_class exact(double a) {
  mpz_class m;
  long e2 = 0;
  split(a, m, e2);
  return times_pow2(mpq_class(m), e2);
}

double as_double(const Binary& x) {
  if (x.infinite) return INFINITY;
  if (x.value == 0) return 0.0;
  // Exactly a double by construction: odd m (below 2^53) times 2^(z - d),
  // with 2^z the power of two in the numerator and 2^d the denominator.
  const mp_bitcnt_t z = mpz_scan1(x.value.get_num_mpz_t(), 0);
  const long d = static_cast<long>(mpz_sizeinbase(x.value.get_den_mpz_t(), 2)) - 1;
  const mpz_class m = x.value.get_num() >> z;
  return std::ldexp(m.get_d(), static_cast<int>(static_cast<long>(z) - d));
}

double reference_round_places(double v, int places) {
  if (v == 0 || std::isnan(v)) return v;
  if (std::isinf(v)) return v;
  const bool negative = std::signbit(v);
  const mpq_class a = exact(std::fabs(v));
  mpz_class s_int;
  mpz_ui_pow_ui(s_int.get_mpz_t(), 10, static_cast<unsigned long>(std::abs(places)));
  const mpq_class s(s_int);

  // Step 3: t, formed in extended and stored as a double.
  Binary t{false, a};
  if (places > 0) t = extended_then_double(a * s);
  if (places < 0) t = extended_then_double(a / s);
  double result = 0;
  if (t.infinite) {
    result = INFINITY;  // u, i and r infinite; inf / s or inf * s is inf
  } else {
    // Step 4: u = t + nudge, formed in extended and stored as a double.
    const Binary u = extended_then_double(t.value + exact(1e-12));
    // Steps 5, 6: integer part, fraction, half up.
    mpz_class i;
    mpz_fdiv_q(i.get_mpz_t(), u.value.get_num_mpz_t(), u.value.get_den_mpz_t());
    const mpq_class f = u.value - mpq_class(i);
    const mpq_class r = f >= mpq_class(1, 2) ? mpq_class(i + 1) : mpq_class(i);
    // Step 7: unscale in extended, round to a double.
    Binary back{false, r};
    if (places > 0) back = extended_then_double(r / s);
    if (places < 0) back = extended_then_double(r * s);
    if (places == 0) back = to_double(to_extended(r));
    result = as_double(back);
  }
  return negative ? -result : result;
}

TEST(RoundPlacesReference, ReferenceAgreesWithNamedCases) {
  EXPECT_EQ(reference_round_places(0.04999999999995, 1), 0.1);
  EXPECT_EQ(reference_round_places(1.2499999405518007, 1), 1.2);
  EXPECT_EQ(reference_round_places(12345.678951, 4), 12345.679);
  EXPECT_EQ(reference_round_places(1234.5, -1), 1230.0);
  EXPECT_EQ(reference_round_places(1e308, 4), INFINITY);
  EXPECT_EQ(bits_of(reference_round_places(0.000049999999995, 4)), 0u);
}

int pick_places(std::mt19937_64& rng) {
  const unsigned roll = static_cast<unsigned>(rng() % 100);
  if (roll < 45) return 1;
  if (roll < 85) return 4;
  if (roll < 92) return 0;
  if (roll < 97) return -static_cast<int>(1 + rng() % 5);
  return static_cast<int>(2 + rng() % 26);  // up to 27, the last exact scale
}

double pick_value(std::mt19937_64& rng, int places) {
  const double scale = std::pow(10.0, static_cast<double>(places));
  switch (rng() % 5) {
    case 0: {  // near a half after scaling, within a few ulps
      const double half = (static_cast<double>(rng() % 1000000) + 0.5) / scale;
      const std::int64_t step = static_cast<std::int64_t>(rng() % 9) - 4;
      return from_bits(bits_of(half) + static_cast<std::uint64_t>(step));
    }
    case 1: {  // near the nudge: half minus about 1e-12 after scaling
      const double n = static_cast<double>(rng() % 100000);
      const double off = 1e-12 * (0.5 + static_cast<double>(rng() % 1000) / 1000.0);
      return (n + 0.5 - off) / scale;
    }
    case 2:  // a single, as the handlers compute
      return static_cast<double>(static_cast<float>(
          std::ldexp(static_cast<double>(rng() >> 40), -static_cast<int>(rng() % 30))));
    case 3:  // log-uniform over a wide range, either sign
    {
      const double v = std::ldexp(1.0 + static_cast<double>(rng() >> 12) * 0x1p-52,
                                  static_cast<int>(rng() % 140) - 70);
      return rng() % 2 == 0 ? v : -v;
    }
    default:  // any finite bit pattern (overflow, subnormals)
    {
      double v = 0;
      do v = from_bits(rng());
      while (!std::isfinite(v));
      return v;
    }
  }
}

TEST(RoundPlacesReference, Sweep) {
  std::mt19937_64 rng(23);
  int disagreements = 0;
  for (int k = 0; k < kSweep; ++k) {
    const int places = pick_places(rng);
    const double v = pick_value(rng, places);
    const double expected = reference_round_places(v, places);
    const double actual = round_places(v, places);
    if (bits_of(expected) != bits_of(actual) && ++disagreements <= kMaxReported) {
      ADD_FAILURE() << "round_places(" << std::hexfloat << v << ", " << std::dec << places
                    << ") = " << std::hexfloat << actual << ", reference " << expected;
    }
  }
  EXPECT_EQ(disagreements, 0);
}

}  // namespace
}  // namespace kalvoro
