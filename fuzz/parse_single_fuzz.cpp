// parse_single on arbitrary bytes: the text is the input up to its first NUL,
// in a block of exactly its size, so that any read past the NUL is reported.
// Checks: the same single as the independent reference; the same single as
// for the folded copy; fold_full_width equal to the reference folding; no
// Text left over.
#include <cstring>
#include <memory>
#include <string>

#include "calc/numeric.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reference.h"

namespace {

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvoro;
  using namespace kalvoro::fuzz;
  const CurrentInput current(data, size);

  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  bytes = bytes.substr(0, bytes.find('\0'));
  const std::unique_ptr<char[]> text(new char[bytes.size() + 1]);
  std::memcpy(text.get(), bytes.data(), bytes.size());
  text[bytes.size()] = '\0';

  const float got = parse_single(text.get());
  const float expected = reference_parse_single(bytes);
  FUZZ_CHECK(same_bits(got, expected),
             "parse_single " + bits_of(got) + ", reference " + bits_of(expected));

  const std::string folded = fold_full_width(text.get());
  FUZZ_CHECK(folded == reference_fold(bytes), "fold_full_width gave " + hex(folded));
  const float again = parse_single(folded.c_str());
  FUZZ_CHECK(same_bits(again, got),
             "folded copy reads " + bits_of(again) + ", text " + bits_of(got));

  FUZZ_CHECK(std::memcmp(text.get(), bytes.data(), bytes.size()) == 0, "the text was changed");
  FUZZ_CHECK(live_texts() == 0, "a Text was handed out and kept");
  return 0;
}
