// Shared pieces of the fuzz targets: a check that names the failing input,
// a counting text allocator, and the one-time set-up of the evaluation rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace kalvoro::fuzz {

// Prints the check, `detail` and the current input in hex, then aborts, so
// that libFuzzer (or the corpus replay) stops on the first failure and keeps
// the input.
[[noreturn]] void fail(const char* file, int line, const char* check, const std::string& detail);

#define FUZZ_CHECK(condition, detail)                                                \
  do {                                                                               \
    if (!(condition)) ::kalvoro::fuzz::fail(__FILE__, __LINE__, #condition, detail); \
  } while (false)

// Marks the input that the target is working on (for the failure message)
// and, on first use, installs the counting allocator and the evaluation rule.
class CurrentInput {
 public:
  CurrentInput(const std::uint8_t* data, std::size_t size);
  ~CurrentInput();
  CurrentInput(const CurrentInput&) = delete;
  CurrentInput& operator=(const CurrentInput&) = delete;
};

// The counting allocator behind every handed-out Text: aborts on a release of
// a block it did not hand out (double release, constant text, foreign
// pointer) and on running out of memory.
std::size_t live_texts();
std::size_t texts_handed_out();
bool is_live_text(Text text);

// The size of the "long" texts that the join_text and handler targets build
// from a short input: 1 MiB, or KALVORO_FUZZ_LONG_TEXT bytes from the
// environment (a megabyte text costs milliseconds per run under the
// sanitizers, so the long campaigns use a smaller size; see
// docs/PERFORMANCE.md). A failure message names the size in force.
std::size_t long_text_bytes();

// Bytes as "0x.. 0x.." for messages.
std::string hex(std::string_view bytes);

// The bit pattern of a double as 16 hex digits.
std::string bits_of(double value);
std::string bits_of(float value);

}  // namespace kalvoro::fuzz
