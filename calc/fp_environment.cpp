#include "calc/fp_environment.h"

namespace kalvoro {

namespace {
// x87 control word: bits 0-5 mask the six exceptions, bits 8-9 = 11 select
// the 64-bit significand, bits 10-11 = 00 round to nearest.
constexpr unsigned short kX87Rule = 0x037F;
// MXCSR: bits 7-12 mask the six exceptions, rounding bits 13-14 = 00, FTZ
// (bit 15) and DAZ (bit 6) off.
constexpr unsigned int kSseRule = 0x1F80;
}  // namespace

void set_evaluation_environment() noexcept {
  unsigned short cw = kX87Rule;
  unsigned int csr = kSseRule;
  asm volatile("fclex\n\tfldcw %0" : : "m"(cw));
  asm volatile("ldmxcsr %0" : : "m"(csr));
}

unsigned short x87_control_word() noexcept {
  unsigned short cw = 0;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

unsigned int sse_control_status() noexcept {
  unsigned int csr = 0;
  asm volatile("stmxcsr %0" : "=m"(csr));
  return csr;
}

}  // namespace kalvoro
