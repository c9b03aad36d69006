// Folding, the number grammar and the two roundings of parse_single, as
// named cases with exact expected values, plus a sweep that holds the
// 128-bit fast path of the decimal conversion against the big-number path.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "calc/decimal_to_binary.h"
#include "calc/numeric.h"
#include "tests/support/printable.h"

namespace kalvoro {
namespace {

using u128 = unsigned __int128;

constexpr float kInf = std::numeric_limits<float>::infinity();

std::uint32_t bits_of(float value) { return std::bit_cast<std::uint32_t>(value); }
std::uint64_t bits_of(double value) { return std::bit_cast<std::uint64_t>(value); }

std::string shown(const std::string& text) { return testing::printable(text); }

// ---------------------------------------------------------------- folding

TEST(FoldFullWidth, Table) {
  struct Case {
    const char* text;
    std::string folded;
    const char* why;
  };
  const Case cases[] = {
      {"", "", "empty"},
      {"\xA3\xB0.\xA3\xB7", "0.7", "header example"},
      {"\xA3\xB0\xA3\xB1\xA3\xB8\xA3\xB9", "0189", "full-width digits"},
      {"\xA1\xA1", " ", "ideographic space"},
      {"\xA1\xAB", "~", "fullwidth tilde"},
      {"\xA1\xEE\xA1\xEF", "**", "white and black star"},
      {"\xA3\xA1", "!", "first of the A3 row"},
      {"\xA3\xA4", "$", "fullwidth yen folds by the row rule"},
      {"\xA3\xFE", "~", "fullwidth macron, last of the row"},
      {"\xA3\xAB\xA3\xAD\xA3\xAE\xA3\xC5\xA3\xE5\xA3\xC4\xA3\xE4", "+-.EeDd", "grammar signs"},
      {"\xA3\xA0", "\xA3\xA0", "just below the A3 row: unchanged"},
      {"\xA3\xFF", "\xA3\xFF", "just above the A3 row: unchanged"},
      {"\xA1\xE7", "\xA1\xE7", "fullwidth dollar sign is not in the table"},
      {"\xA1\xAA", "\xA1\xAA", "em dash stays"},
      {"\xA1\xAC", "\xA1\xAC", "A1 neighbour of the tilde stays"},
      {"\xA2\xA1", "\xA2\xA1", "other lead byte"},
      {"12\xB0", "12", "lone lead byte before the NUL is left out"},
      {"\xA3", "", "only a lone lead byte"},
      {"a\xA3\xA3\xA3", "a#", "pair folds, then a lone lead"},
      {"\x81\x30", "\x81\x30", "a trail byte below 80 still pairs with its lead"},
      {"\xA3\x33\xA3\xB3",
       "\xA3\x33"
       "3",
       "ASCII-range trail is not in the table"},
      {"\xFF\xFF\x80\x80", "\xFF\xFF\x80\x80", "any byte values pair"},
      {"\xA3\xA3\xA3", "#", "pairing is from the start: A3A3 then a lone A3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fold_full_width(c.text), c.folded) << shown(c.text) << ": " << c.why;
  }
  EXPECT_EQ(fold_full_width(nullptr), "") << "absent text";
}

// ----------------------------------------------------------- parse_single

struct ParseCase {
  std::string text;
  float expected;
  const char* why;
};

void expect_parses(const ParseCase& c) {
  const float got = parse_single(c.text.c_str());
  EXPECT_EQ(bits_of(got), bits_of(c.expected))
      << "\"" << shown(c.text) << "\" (" << c.why << "): got " << std::hexfloat << got
      << ", expected " << c.expected;
}

TEST(ParseSingle, Grammar) {
  const ParseCase cases[] = {
      {"", 0.0f, "empty text"},
      {"   7", 7.0f, "leading spaces"},
      {"\t\n\v\f\r 7", 7.0f, "all six white-space bytes"},
      {"\xA1\xA1\xA3\xB1\xA3\xB2", 12.0f, "ideographic space, full-width 12"},
      {"\xA3\xB7\xA3\xAE\xA3\xB5", 7.5f, "full-width 7.5"},
      {"\xA3\xAD\xA3\xB1\xA3\xE5\xA3\xAB\xA3\xB2", -100.0f, "full-width -1e+2"},
      {"1\xA3\xB2", 12.0f, "ASCII and full-width digits mix"},
      {"+.5", 0.5f, "sign, no integer digits"},
      {"5.", 5.0f, "no fraction digits"},
      {".", 0.0f, "point without digits is no number"},
      {"-", 0.0f, "sign alone gives +0"},
      {"-x", 0.0f, "sign without digits gives +0"},
      {"-.e5", 0.0f, "no digits before the exponent gives +0"},
      {"-0", -0.0f, "negative zero keeps its sign"},
      {"-0.000e7", -0.0f, "all-zero digits keep the sign"},
      {"0e999999999999999999999", 0.0f, "zero with a huge exponent"},
      {"+-1", 0.0f, "only one sign"},
      {"- 1", 0.0f, "no space after the sign"},
      {"1e3", 1000.0f, "exponent e"},
      {"1E+3", 1000.0f, "exponent E with sign"},
      {"1d3", 1000.0f, "exponent d"},
      {"1D3", 1000.0f, "exponent D"},
      {"1.e3", 1000.0f, "point then exponent"},
      {"1e", 1.0f, "letter without digits ends the number"},
      {"1e+", 1.0f, "letter and sign without digits"},
      {"1e-x", 1.0f, "letter and sign, then no digit"},
      {"1 e3", 1.0f, "space ends the number"},
      {"2.5e-1x", 0.25f, "trailing garbage after the exponent"},
      {"1e5e3", 100000.0f, "second exponent ignored"},
      {"0x10", 0.0f, "no hexadecimal"},
      {"inf", 0.0f, "no infinity word"},
      {"nan", 0.0f, "no not-a-number word"},
      {"1,000", 1.0f, "comma ends the number"},
      {"16:9", 16.0f, "colon ends the number"},
      {"12abc", 12.0f, "letters end the number"},
      {"12\xB0", 12.0f, "lone lead byte at the end"},
      {"1\xA1\xAA"
       "5",
       1.0f, "a two-byte character that stays ends the number"},
      {"\x81\x30", 0.0f, "a pair whose trail is a digit is not a digit"},
      {"\xA3\x35", 0.0f, "nor is a pair with an ASCII-range trail"},
  };
  for (const ParseCase& c : cases) expect_parses(c);
  EXPECT_EQ(bits_of(parse_single(nullptr)), bits_of(0.0f)) << "absent text";
}

TEST(ParseSingle, Rounding) {
  const ParseCase cases[] = {
      {"25.4", 0x1.966666p+4f, "25.3999996185302734375"},
      {"0.7", 0x1.666666p-1f, "0.699999988079071044921875"},
      {"\xA3\xB0\xA3\xAE\xA3\xB7", 0x1.666666p-1f, "full-width 0.7"},
      {"16777217", 16777216.0f, "exact double, halfway between singles: to even"},
      {"16777219", 16777220.0f, "halfway between singles, to even upward"},
      {"16777217.000000001", 16777216.0f, "nearest double is 16777217, then to even"},
      {"9007200865353727", 0x1.000002p+53f,
       "halfway between doubles goes toward zero (9007200865353726), then single"},
      {"-9007200865353727", -0x1.000002p+53f, "the same below zero"},
      {"9007200865353727.5", 0x1.000004p+53f,
       "just above the double tie: 9007200865353728 is halfway between singles, to even"},
      {"1e39", kInf, "beyond the single range"},
      {"-1e39", -kInf, "beyond the single range, negative"},
      {"1e-46", 0.0f, "below half the smallest subnormal single"},
      {"-1e-46", -0.0f, "underflow keeps the sign"},
      {"340282346638528859811704183484516925440", 0x1.fffffep+127f, "largest single"},
      {"340282356779733661637539395458142568448", kInf,
       "largest single plus half a place: tie to even goes to infinity"},
      {"340282356779733661637539395458142568447", kInf,
       "cut to 24 digits the double is still the threshold"},
      {"340282356779733623858607532500980858880", 0x1.fffffep+127f,
       "the double just below the threshold stays finite"},
      {"1.7976931348623157e308", kInf, "largest double overflows the single"},
      {"1e-45", 0x1p-149f, "nearest single is the smallest subnormal"},
      {"7.00649232162408535461864797e-46", 0.0f,
       "double is exactly half the smallest single subnormal: to even, zero"},
      {"7.00649232162409e-46", 0x1p-149f, "just above that half"},
      {"2.101947696487225606385594374934874196920392912814773657635602425834686624e-45", 0x1p-148f,
       "1.5 times the smallest subnormal: tie to even, upward"},
      {"1.17549435082228750796873653722224568e-38", 0x1p-126f, "smallest normal single"},
      {"0.1", 0x1.99999ap-4f, "the usual 0.1"},
      {"3.4028235e38", 0x1.fffffep+127f, "largest single, short form"},
  };
  for (const ParseCase& c : cases) expect_parses(c);
}

TEST(ParseSingle, SignificantDigitCut) {
  const ParseCase cases[] = {
      {"999999999999999999999999500", 0x1.9d971ep+89f, "carry out of 24 nines: 10^27"},
      {"0.000999999999999999999999999500", 0x1.0624dep-10f, "carry with leading zeros: 10^-3"},
      {"999999999999999999999999499", 0x1.9d971ep+89f, "no carry: 24 nines times 1000"},
      {"1.000000000000000000000000999", 1.0f, "digits past the 25th play no part"},
      {"00000000000000000000000000000000000001.5", 1.5f, "leading zeros are not significant"},
      {"9007200865353727.000000004", 0x1.000002p+53f,
       "the 25th digit 4 rounds down: exact double tie, toward zero"},
      {"9007200865353727.000000005", 0x1.000004p+53f,
       "the 25th digit 5 rounds up: above the tie, 9007200865353728"},
  };
  for (const ParseCase& c : cases) expect_parses(c);
}

TEST(ParseSingle, LongTextsAndHugeExponents) {
  const std::string million_zeros(1'000'000, '0');
  const ParseCase cases[] = {
      {"1e999999999999999999", kInf, "exponent beyond 64 bits saturates"},
      {"-1e999999999999999999999999999999", -kInf, "saturates, negative"},
      {"1e-99999999999999", 0.0f, "huge negative exponent"},
      {"1e-999999999999999999999999999999", 0.0f, "negative exponent beyond 64 bits"},
      {"0." + million_zeros + "1e1000001", 1.0f, "a million leading fraction zeros"},
      {"1" + million_zeros + "e-1000000", 1.0f, "a million integer digits past the cut"},
      {"1." + million_zeros + "9", 1.0f, "a million fraction digits past the cut"},
      {"0." + million_zeros + "1", 0.0f, "tiny: 1e-1000001"},
      {"-0." + million_zeros + "1", -0.0f, "tiny, negative"},
      {million_zeros + "42", 42.0f, "a million leading zeros before the digits"},
      {"1" + million_zeros, kInf, "a million-digit integer"},
      {"0.000000000000000000000000000000000000000000001401298464324817070923729583289916",
       0x1p-149f, "smallest subnormal single, written out"},
  };
  for (const ParseCase& c : cases) expect_parses(c);

  // A megabyte of lone lead bytes and pairs, ending in a lone lead byte.
  std::string noise;
  for (int i = 0; i < 1'000'000; ++i) noise.push_back(static_cast<char>(0x80 + i % 128));
  EXPECT_EQ(bits_of(parse_single(("\xA3\xB3" + noise).c_str())), bits_of(3.0f));
  EXPECT_EQ(bits_of(parse_single(("\xA3\xB3" + noise + "\xA3").c_str())), bits_of(3.0f));
  EXPECT_EQ(fold_full_width(("\xA3\xB3" + noise + "\xA3").c_str()).substr(0, 2), "3\x80");
}

// --------------------------------------------------- decimal -> double

TEST(DecimalToDouble, Corners) {
  constexpr double kDblMax = std::numeric_limits<double>::max();
  struct Case {
    u128 digits;
    std::int64_t exponent10;
    double expected;
    const char* why;
  };
  const u128 kNines24 = u128{999'999'999'999} * 1'000'000'000'000 + 999'999'999'999;
  const Case cases[] = {
      {9007199254740995, 0, 9007199254740994.0, "tie: toward zero, where to-even goes up"},
      {9007199254740993, 0, 9007199254740992.0, "tie: toward zero, same as to-even"},
      {(u128{1} << 64) + 6144, 0, 0x1.0000000000001p+64,
       "tie above 2^64 (places of 4096): toward zero keeps the odd neighbour"},
      {(u128{1} << 79) + (u128{3} << 26), 0, 0x1.0000000000001p+79,
       "tie at the top of the 24-digit range"},
      {17976931348623157, 292, kDblMax, "largest double"},
      {17976931348623158, 292, kDblMax, "below the midpoint to 2^1024"},
      {17976931348623159, 292, std::numeric_limits<double>::infinity(), "above that midpoint"},
      {1, 309, std::numeric_limits<double>::infinity(), "first decade above the range"},
      {5, -324, 0x1p-1074, "smallest subnormal"},
      {24703282292062328, -340, 0x1p-1074, "just above half the smallest subnormal"},
      {24703282292062327, -340, 0.0, "just below half the smallest subnormal"},
      {22250738585072014, -324, 0x1p-1022, "smallest normal"},
      {22250738585072011, -324, 0x0.fffffffffffffp-1022, "largest subnormal"},
      {kNines24, -349, 0.0, "first exponent of the zero shortcut"},
      {kNines24, -348, 0.0, "just above the shortcut: below half the smallest subnormal"},
      {3, -324, 0x1p-1074, "above half the smallest subnormal"},
      {kNines24, 284, 0x1.1ccf385ebc8a0p+1023, "near the top, exact path"},
      {1, 0, 1.0, "one"},
      {0, 400, 0.0, "zero digits"},
  };
  for (const Case& c : cases) {
    for (bool negative : {false, true}) {
      const double expected = negative ? -c.expected : c.expected;
      EXPECT_EQ(bits_of(detail::decimal_to_double(negative, c.digits, c.exponent10)),
                bits_of(expected))
          << static_cast<std::uint64_t>(c.digits) << "e" << c.exponent10 << ": " << c.why;
      EXPECT_EQ(bits_of(detail::decimal_to_double_exact(negative, c.digits, c.exponent10)),
                bits_of(expected))
          << "exact path, " << static_cast<std::uint64_t>(c.digits) << "e" << c.exponent10 << ": "
          << c.why;
    }
  }
}

// The shortcuts (the 128-bit ones and the truncated power-of-ten product)
// against the big-number path, bit for bit: random digit strings over every
// exponent the conversion distinguishes (-350..310: past the zero and
// infinity shortcuts), digit counts at powers of two and ten, and exact ties
// between doubles (odd multiples of half a place) that reach them. Where the
// table product claims a result it must be the exact one too.
TEST(DecimalToDouble, FastPathMatchesExactPath) {
  std::mt19937_64 rng(20240611);
  auto random_digits = [&](int count) {
    u128 value = 0;
    for (int i = 0; i < count; ++i) value = value * 10 + rng() % 10;
    return value;
  };
  long table_taken = 0;
  auto check = [&](u128 digits, std::int64_t exponent10) {
    const double fast = detail::decimal_to_double(false, digits, exponent10);
    const double exact = detail::decimal_to_double_exact(false, digits, exponent10);
    double table = 0;
    const bool taken = detail::decimal_to_double_table(false, digits, exponent10, table);
    table_taken += taken ? 1 : 0;
    ASSERT_TRUE(bits_of(fast) == bits_of(exact) && (!taken || bits_of(table) == bits_of(exact)))
        << "digits " << static_cast<std::uint64_t>(digits >> 64) << ":"
        << static_cast<std::uint64_t>(digits) << " (hi:lo) e" << exponent10 << ": fast "
        << std::hexfloat << fast << ", table " << (taken ? table : -1.0) << ", exact " << exact;
  };
  long checked = 0;
  for (int i = 0; i < 300'000; ++i, ++checked) {
    const int count = 1 + static_cast<int>(rng() % 24);
    const auto exponent10 = static_cast<std::int64_t>(rng() % 661) - 350;
    check(random_digits(count), exponent10);
    if (HasFatalFailure()) return;
  }
  // The table product's error is below one unit of the digits, largest for
  // digits just below a power of two; powers of ten and their neighbours are
  // the texts people type.
  const u128 kTen24 = u128{1'000'000'000'000} * 1'000'000'000'000;
  for (std::int64_t exponent10 = -350; exponent10 <= 310; ++exponent10) {
    for (u128 power = 1; power < kTen24; power *= 10) {
      for (u128 digits : {power - 1, power, power + 1}) {
        if (digits == 0) continue;
        check(digits, exponent10);
        ++checked;
      }
    }
    for (int bits = 1; bits <= 79; bits += 3) {
      const u128 power = u128{1} << bits;
      for (u128 digits : {power - 1, power, power + 1}) {
        check(digits, exponent10);
        ++checked;
      }
    }
    if (HasFatalFailure()) return;
  }
  // Ties: (2q + 1) * 2^(b - 1) for q with 53 bits, written as digits * 10^-j
  // where the power of 2 is negative: digits = (2q + 1) * 5^j.
  for (int i = 0; i < 100'000; ++i, ++checked) {
    const u128 odd = ((u128{1} << 52) | (rng() & ((std::uint64_t{1} << 52) - 1))) * 2 + 1;
    const int b = static_cast<int>(rng() % 36) - 10;  // midpoint = odd * 2^(b-1)
    if (b - 1 >= 0) {
      check(odd << (b - 1), 0);
    } else {
      u128 digits = odd;
      for (int j = 0; j < 1 - b; ++j) digits *= 5;
      if (digits < kTen24) check(digits, b - 1);
    }
    if (HasFatalFailure()) return;
  }
  // Ties with a positive power of ten, which the table holds exactly (10^j
  // for j <= 55): odd = c * 5^j, midpoint = c * 5^j * 2^(b-1) = digits * 10^j
  // with digits = c * 2^(b-1-j); b - 1 >= j and digits below 10^24 put it
  // past the plain 128-bit product for large j.
  for (int i = 0; i < 100'000; ++i, ++checked) {
    const int j = 1 + static_cast<int>(rng() % 22);
    u128 five = 1;
    for (int n = 0; n < j; ++n) five *= 5;
    // The odd c with c * 5^j in [2^53, 2^54), when there is one.
    const u128 low = ((u128{1} << 53) + five - 1) / five;
    const u128 high = ((u128{1} << 54) - 1) / five;
    if (low > high) continue;
    u128 c = low + rng() % static_cast<std::uint64_t>(high - low + 1);
    if (c % 2 == 0) c = c + 1 <= high ? c + 1 : c - 1;
    if (c % 2 == 0 || c < low) continue;
    const int b = j + 1 + static_cast<int>(rng() % 60);
    const u128 digits = c << (b - 1 - j);
    if (digits >= kTen24) continue;
    check(digits, j);
    if (HasFatalFailure()) return;
  }
  // The table product must really decide most of these.
  EXPECT_GT(table_taken, checked / 2) << "of " << checked;
}

}  // namespace
}  // namespace kalvoro
