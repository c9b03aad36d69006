// format_number: named cases with their exact texts, the special values by
// bit pattern, and the ownership of every Text it hands out.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "calc/numeric.h"
#include "calc/text.h"

namespace kalvoro {
namespace {

// Counts the blocks handed out and given back, so that a test can see that
// each Text is one block, given back exactly once.
int g_live_blocks = 0;
int g_blocks_handed_out = 0;
void* counting_allocate(std::size_t bytes) {
  ++g_live_blocks;
  ++g_blocks_handed_out;
  return std::malloc(bytes);
}
void counting_release(void* block) {
  --g_live_blocks;
  std::free(block);
}

class FormatNumberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_live_blocks = 0;
    g_blocks_handed_out = 0;
    previous_ = set_text_allocator({&counting_allocate, &counting_release});
  }
  void TearDown() override {
    set_text_allocator(previous_);
    EXPECT_EQ(g_live_blocks, 0) << "a Text was not given back";
  }

  // The text of format_number(v), with the Text given back.
  static std::string format(double v) {
    Text text = format_number(v);
    std::string s(text);
    release_text(text);
    return s;
  }

 private:
  TextAllocator previous_{};
};

double from_bits(std::uint64_t bits) { return std::bit_cast<double>(bits); }

struct Case {
  const char* why;
  double value;
  const char* text;
};

TEST_F(FormatNumberTest, NamedCases) {
  const Case cases[] = {
      {"one decimal", 2.9, "2.9"},
      {"integer, zeros before the point stay", 100.0, "100"},
      {"13 digits, largest plain exponent", 1234567890123.0, "1234567890123"},
      {"cut to 13 digits in plain notation", 123456789012.34567, "123456789012.3"},
      {"14 digits: exponent notation", 12345678901234.0, "1.234567890123e+013"},
      {"carry out of the first digit raises the exponent to 13", 9999999999999.5, "1e+013"},
      {"carry out of the first digit, plain", 9.99999999999995, "10"},
      {"smallest plain exponent -4", 0.0001, "0.0001"},
      {"exponent -5: exponent notation with three digits", 0.00001, "1e-005"},
      {"exponent notation keeps the fraction", 0.00000015, "1.5e-007"},
      {"1e20", 1e20, "1e+020"},
      {"three-digit exponent", 1e100, "1e+100"},
      {"0.1 + 0.2 held as 0.3000000000000000444...", 0x1.3333333333334p-2, "0.3"},
      {"negative", -2.5, "-2.5"},
      // 1000000000.0004999637603759765625: 17 digits give ...0005000, which
      // then rounds up at 13; one rounding to 13 would give 1000000000.
      {"two roundings, not one", 1000000000.0005, "1000000000.001"},
      {"smallest subnormal", 0x1p-1074, "4.940656458412e-324"},
      {"largest double, longest text", DBL_MAX, "1.797693134862e+308"},
      {"longest text, negative", -DBL_MAX, "-1.797693134862e+308"},
      {"smallest normal", DBL_MIN, "2.225073858507e-308"},
      {"point after the first digit, trailing zeros cut", 1.5, "1.5"},
      {"small plain with leading zeros", -0.00012345678901234, "-0.0001234567890123"},
      {"one", 1.0, "1"},
      // 0.12345678901235 is held as 0.12345678901234999336...: the 18th
      // digit (3) leaves ...4999 alone, so the 14th digit is 4 and it goes
      // down.
      {"14-digit half held just below it", 0.12345678901235, "0.1234567890123"},
      // 2^53 + 2 = 9007199254740994: 16 digits, exponent notation.
      {"large integer", 9007199254740994.0, "9.007199254741e+015"},
      {"exponent just below the plain range, negative", -0.000099999999999995, "-0.0001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format(c.value), c.text) << c.why << " (" << std::hexfloat << c.value << ")";
  }
}

TEST_F(FormatNumberTest, SpecialValuesByBitPattern) {
  const struct {
    const char* why;
    std::uint64_t bits;
    const char* text;
  } cases[] = {
      {"+0", 0x0000000000000000, "0"},
      {"-0", 0x8000000000000000, "0"},
      {"+inf", 0x7FF0000000000000, "1.#INF"},
      {"-inf", 0xFFF0000000000000, "-1.#INF"},
      {"default NaN (invalid operation)", 0xFFF8000000000000, "-1.#IND"},
      {"positive quiet NaN with the default fraction", 0x7FF8000000000000, "1.#QNAN"},
      {"negative quiet NaN with a payload", 0xFFF8000000000001, "-1.#QNAN"},
      {"positive quiet NaN with all fraction bits", 0x7FFFFFFFFFFFFFFF, "1.#QNAN"},
      {"positive signalling NaN", 0x7FF0000000000001, "1.#SNAN"},
      {"negative signalling NaN", 0xFFF4000000000000, "-1.#SNAN"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format(from_bits(c.bits)), c.text) << c.why;
  }
  // The NaN that arithmetic produces is the default one.
  volatile double zero = 0.0;
  EXPECT_EQ(format(zero / zero), "-1.#IND");
  EXPECT_EQ(format(square_root(-1.0)), "-1.#IND");
}

// Each call hands out exactly one block, of its length plus the NUL, and no
// text is longer than 20 bytes (the longest forms: exponent notation with 13
// digits and a sign, plain notation with four leading zeros and a sign).
TEST_F(FormatNumberTest, OneBlockPerTextAtMostTwentyBytes) {
  const double values[] = {-DBL_MAX,
                           -0x1.fffffffffffffp-1022,
                           -0.00012345678901234,
                           -123456789012.34567,
                           -1.2345678901234e-300,
                           -0x1p-1074,
                           from_bits(0xFFF0000000000001)};
  for (double v : values) {
    const int before = g_blocks_handed_out;
    Text text = format_number(v);
    EXPECT_EQ(g_blocks_handed_out, before + 1);
    EXPECT_LE(std::strlen(text), 20u) << text;
    release_text(text);
  }
}

}  // namespace
}  // namespace kalvoro
