// The evaluation rule: every floating-point operation in extended precision
// (x87, 64-bit significand), round to nearest with ties to even, all
// exceptions masked. Values are narrowed to double or single only where the
// code stores them as such.
#pragma once

#include <limits>

namespace kalvoro {

static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384 &&
                  std::numeric_limits<long double>::min_exponent == -16381,
              "long double must be the x87 80-bit extended format "
              "(MSVC and non-x86 targets are not supported)");

// Puts this thread's x87 unit into the rule's state (control word 0x037F: all
// exceptions masked, round to nearest, 64-bit precision) and the SSE unit
// likewise (MXCSR 0x1F80: all exceptions masked, round to nearest, no
// flush-to-zero). Called once at start-up, before any calculation.
void set_evaluation_environment() noexcept;

// The x87 control word and the MXCSR as they stand now (for checks).
unsigned short x87_control_word() noexcept;
unsigned int sse_control_status() noexcept;

}  // namespace kalvoro
