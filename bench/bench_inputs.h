// The benchmark inputs: one million texts and one million doubles, made once
// from a fixed seed so that every run times the same work.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kalvoro::bench {

inline constexpr std::size_t kInputCount = 1'000'000;

// A list of NUL-ended texts in one buffer.
class TextList {
 public:
  void add(const std::string& text);
  // Call once after the last add: fixes the pointers.
  void finish();
  const std::vector<const char*>& texts() const { return texts_; }

 private:
  std::vector<char> bytes_;
  std::vector<std::size_t> starts_;
  std::vector<const char*> texts_;
};

struct ParseInputs {
  TextList gbk;    // what parse_single reads: may hold full-width characters
  TextList ascii;  // the same numbers as strtof reads them: folded to ASCII,
                   // the exponent letters d/D written as e/E
};

// The kinds of the mixes below, for the per-kind rows of the table.
enum ParseKind { kShort, kLongDigits, kExponent, kFullWidth, kParseKinds };
enum FormatKind { kTypical, kTiny, kHuge, kSubnormal, kFormatKinds };
extern const char* const kParseKindNames[kParseKinds];
extern const char* const kFormatKindNames[kFormatKinds];

// Mix (each text drawn independently): 40 % short numbers ("20", "0.7",
// "-25.4"), 20 % long digit strings (18 to 40 digits), 20 % exponents
// ("6.02e23", "1.5D-7"), 20 % full-width digits ("２０", "０．７").
const ParseInputs& parse_inputs();
// The texts of one kind only, in the same order.
const ParseInputs& parse_inputs(ParseKind kind);

// Mix: 70 % typical results (0.1 to 10000 at one or four decimal places),
// 10 % tiny (1e-300 to 1e-5), 10 % huge (1e13 to 1e300), 10 % subnormal.
const std::vector<double>& format_inputs();
const std::vector<double>& format_inputs(FormatKind kind);

}  // namespace kalvoro::bench
