// round_places, power and square_root: named cases with exact expected
// values, compared bit for bit (so -0 and the NaN patterns count).
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <limits>

#include "calc/numeric.h"

namespace kalvoro {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kDefaultNaN = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000});
// A quiet NaN with a payload, to see that NaN inputs come back as themselves.
const double kPayloadNaN = std::bit_cast<double>(std::uint64_t{0x7FF8000000000123});

std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }

::testing::AssertionResult same_bits(double actual, double expected) {
  if (bits(actual) == bits(expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << std::hexfloat << actual << " (0x" << std::hex << bits(actual) << "), expected "
         << expected << " (0x" << bits(expected) << ")";
}

TEST(RoundPlaces, NamedCases) {
  const struct {
    const char* why;
    double value;
    std::int32_t places;
    double expected;
  } cases[] = {
      {"half goes up", 2.25, 1, 2.3},
      {"half goes away from zero", -2.25, 1, -2.3},
      // 2.35 is held as 2.35000000000000008881...
      {"held just above half", 2.35, 1, 2.4},
      // t = 0.4999999999995, u = 0.5000000000005
      {"the nudge lifts it over half", 0.04999999999995, 1, 0.1},
      {"short of half by more than the nudge", 1.2499999405518007, 1, 1.2},
      {"four places", 12345.678951, 4, 12345.679},
      {"four places, exactly half after scaling", 0.00005, 4, 0.0001},
      {"four places, the nudge is not enough", 0.000049999999995, 4, 0.0},
      {"no places", 2.5, 0, 3.0},
      {"no places, below half", 2.4999, 0, 2.0},
      {"negative places", 1234.5, -1, 1230.0},
      {"negative places, half up", -1235.0, -1, -1240.0},
      {"scaled value overflows", 1e308, 4, kInf},
      {"scaled value overflows, negative", -1e308, 4, -kInf},
      // Beyond 2^52 the fraction is always 0; the value comes back through
      // t = a * 10 and r / 10.
      {"large value, no fraction left", 0x1p60, 1, 0x1p60},
      {"smallest subnormal rounds to zero", 0x1p-1074, 4, 0.0},
      {"negative result of zero keeps the sign", -0.00001, 4, -0.0},
      {"a scaled value of 0.999... goes to 1", 0.99996, 4, 1.0},
      {"rounding to whole tens of thousands", 149999.9, -5, 100000.0},
      {"single 2.9 (2.900000095367431640625)", 2.900000095367431640625, 1, 2.9},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(same_bits(round_places(c.value, c.places), c.expected))
        << c.why << ": round_places(" << std::hexfloat << c.value << ", " << c.places << ")";
  }
}

TEST(RoundPlaces, ZeroInfinityAndNaNPassThrough) {
  const double values[] = {0.0, -0.0, kInf, -kInf, kDefaultNaN, kPayloadNaN};
  const std::int32_t places[] = {0, 1, 4, -1, INT32_MAX, INT32_MIN};
  for (double v : values) {
    for (std::int32_t p : places) {
      EXPECT_TRUE(same_bits(round_places(v, p), v)) << "places " << p;
    }
  }
}

// Places far beyond any exact power of ten neither crash nor loop: the
// scaled value saturates to inf (positive places) or 0 (negative places).
TEST(RoundPlaces, ExtremePlacesSaturate) {
  const struct {
    double value;
    std::int32_t places;
    double expected;
  } cases[] = {
      {0x1p-1074, INT32_MAX, kInf},
      {-1.5, INT32_MAX, -kInf},
      {DBL_MAX, INT32_MIN, 0.0},
      {-2.5, INT32_MIN, -0.0},
      {1.5, 1000, kInf},
      {1.5, -1000, 0.0},
      // 10^30 is no longer exact; 1.25 still comes back as itself.
      {1.25, 30, 1.25},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(same_bits(round_places(c.value, c.places), c.expected))
        << std::hexfloat << c.value << ", places " << c.places;
  }
}

TEST(Power, NamedCases) {
  const struct {
    const char* why;
    double base;
    double exponent;
    double expected;
  } cases[] = {
      {"negative base, even exponent", -3.0, 2.0, 9.0},
      {"zero squared", 0.0, 2.0, 0.0},
      {"-0 squared is +0", -0.0, 2.0, 0.0},
      {"+inf squared", kInf, 2.0, kInf},
      {"-inf squared", -kInf, 2.0, kInf},
      {"integer power", 10.0, 4.0, 10000.0},
      {"negative base, odd exponent", -2.0, 3.0, -8.0},
      {"-0 to an odd power keeps the sign", -0.0, 3.0, -0.0},
      {"-0 to a non-integer power is +0", -0.0, 0.5, 0.0},
      {"negative base, non-integer exponent", -2.0, 0.5, kDefaultNaN},
      {"-inf, non-integer exponent", -kInf, 0.5, kDefaultNaN},
      {"square overflows", 1e200, 2.0, kInf},
      // The single 25.4 (25.3999996185302734375) squared needs 48 bits:
      // exact.
      {"square of a single is exact", 25.3999996185302734375, 2.0, 0x1.42947a3eb852p+9},
      // (1 + 2^-52)^2 = 1 + 2^-51 + 2^-104: the extended square is rounded
      // once to double, giving 1 + 2^-51.
      {"square rounded once", 0x1.0000000000001p0, 2.0, 0x1.0000000000002p0},
      {"NaN base comes back, even to the power 0", kPayloadNaN, 0.0, kPayloadNaN},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(same_bits(power(c.base, c.exponent), c.expected))
        << c.why << ": power(" << std::hexfloat << c.base << ", " << c.exponent << ")";
  }
}

TEST(SquareRoot, NamedCases) {
  const struct {
    const char* why;
    double value;
    double expected;
  } cases[] = {
      {"exact root", 2.25, 1.5},
      {"+inf", kInf, kInf},
      {"-0 keeps its sign", -0.0, -0.0},
      {"+0", 0.0, 0.0},
      {"negative gives the default NaN", -1.0, kDefaultNaN},
      {"-inf gives the default NaN", -kInf, kDefaultNaN},
      {"default NaN comes back", kDefaultNaN, kDefaultNaN},
      {"NaN with a payload comes back", kPayloadNaN, kPayloadNaN},
      // sqrt(2) = 1.41421356237309504880...: to extended, then to double.
      {"inexact root", 2.0, 0x1.6a09e667f3bcdp0},
      {"smallest subnormal", 0x1p-1074, 0x1p-537},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(same_bits(square_root(c.value), c.expected))
        << c.why << ": square_root(" << std::hexfloat << c.value << ")";
  }
}

}  // namespace
}  // namespace kalvoro
