// The evaluation rule as the unit leaves it after set_evaluation_environment
// (every test program's main calls it, as the program's start-up does).
#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

namespace kalvoro {
namespace {

TEST(EvaluationEnvironment, ControlWordsHoldTheRule) {
  set_evaluation_environment();
  EXPECT_EQ(x87_control_word() & 0x1F3F, 0x037F & 0x1F3F);  // masks, precision, rounding
  EXPECT_EQ(sse_control_status() & ~0x3Fu, 0x1F80u);        // status flags aside
}

TEST(EvaluationEnvironment, ChainsKeepSixtyFourBitsAndInvalidGivesTheDefaultNaN) {
  set_evaluation_environment();
  // 1 + 2^-60 needs 61 significant bits: kept with a 64-bit significand,
  // lost with 53.
  volatile long double one = 1.0L;
  volatile long double tiny = 0x1p-60L;
  const long double sum = one + tiny;
  EXPECT_EQ(static_cast<double>((sum - one) * 0x1p60L), 1.0);
  // 0 / 0 under masked exceptions: sign set, quiet, nothing else.
  volatile long double zero = 0.0L;
  const double nan = static_cast<double>(zero / zero);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(nan), 0xFFF8000000000000u);
  // A non-zero number over zero: an infinity, no trap.
  EXPECT_EQ(static_cast<double>(one / zero), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace kalvoro
