// format_number on every double: the first 8 input bytes are its bit pattern
// (missing bytes are zero), the 9th picks the places for round_places.
// Checks: the text equals the reference, is a number text of at most 20
// bytes, and is one block given back exactly once. round_places: zero, NaN
// and infinities unchanged, symmetric in the sign; for the handlers' kind of
// values (|v| < 1e8, 0..4 places) the result is within half a unit of the
// place of v, rounding it again changes nothing, its text has at most that
// many decimals and reads back as the same double or a neighbour.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calc/numeric.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reference.h"

namespace {

using namespace kalvoro;
using namespace kalvoro::fuzz;

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// format_number with the ownership checks: one new block, given back once.
std::string formatted(double value) {
  const std::size_t live_before = live_texts();
  const std::size_t handed_before = texts_handed_out();
  Text text = format_number(value);
  FUZZ_CHECK(text != nullptr && is_live_text(text), "format_number gave no new block");
  FUZZ_CHECK(texts_handed_out() == handed_before + 1 && live_texts() == live_before + 1,
             "format_number handed out other blocks");
  std::string copy(text);
  release_text(text);
  FUZZ_CHECK(live_texts() == live_before, "a block was kept");
  return copy;
}

void check_round_places(double v, std::int32_t places) {
  const double r = round_places(v, places);
  const std::string what =
      "round_places(" + bits_of(v) + ", " + std::to_string(places) + ") = " + bits_of(r);
  if (v == 0 || std::isnan(v) || std::isinf(v)) {
    FUZZ_CHECK(same_bits(r, v), what);
    return;
  }
  FUZZ_CHECK(same_bits(round_places(-v, places), -r), what + ": not symmetric in the sign");
  if (!(std::fabs(v) < 1e8 && places >= 0 && places <= 4)) return;

  const double unit = std::pow(10.0, -places);
  FUZZ_CHECK(std::fabs(r - v) <= unit * (0.5 + 1e-11) + std::fabs(v) * 0x1p-50,
             what + ": more than half a unit away");
  FUZZ_CHECK(same_bits(round_places(r, places), r), what + ": rounding again changes it");

  const std::string text = formatted(r);
  const std::size_t point = text.find('.');
  const std::size_t decimals = point == std::string::npos ? 0 : text.size() - point - 1;
  FUZZ_CHECK(text.find('e') == std::string::npos && decimals <= static_cast<std::size_t>(places),
             what + ": text " + text);
  const double back = std::strtod(text.c_str(), nullptr);
  FUZZ_CHECK(back == r || std::nextafter(back, r) == r,
             what + ": text " + text + " reads back as " + bits_of(back));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CurrentInput current(data, size);
  std::uint8_t pattern[8] = {};
  std::memcpy(pattern, data, size < 8 ? size : 8);
  double value;
  std::memcpy(&value, pattern, sizeof value);

  const std::string text = formatted(value);
  const std::string expected = reference_format_number(value);
  FUZZ_CHECK(text == expected, "format_number(" + bits_of(value) + ") = \"" + text +
                                   "\", reference \"" + expected + "\"");
  FUZZ_CHECK(is_number_text(text), "not a number text: \"" + text + "\"");

  // Places -3..8; the handlers use 1 and 4.
  const std::int32_t places = size > 8 ? data[8] % 12 - 3 : 1;
  check_round_places(value, places);
  FUZZ_CHECK(live_texts() == 0, "a Text was kept");
  return 0;
}
