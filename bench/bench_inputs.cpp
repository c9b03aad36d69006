#include "bench/bench_inputs.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace kalvoro::bench {

namespace {

constexpr std::uint64_t kSeed = 20240605;

std::string digits(std::mt19937_64& random, int count) {
  std::string out;
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < count; ++i) out += static_cast<char>('0' + digit(random));
  if (out.size() > 1 && out[0] == '0') out[0] = '1';
  return out;
}

// One number text in ASCII; `exponent_letter` may be d or D as well.
std::string ascii_number(std::mt19937_64& random, int kind) {
  std::uniform_int_distribution<int> small(1, 4);
  std::string sign = random() % 4 == 0 ? "-" : "";
  switch (kind) {
    case 0: {  // short: "20", "0.7", "25.4"
      std::string whole = digits(random, small(random));
      if (random() % 2 == 0) return sign + whole;
      return sign + whole + "." + digits(random, small(random));
    }
    case 1: {  // long digit strings, past the 25 significant digits now and then
      std::uniform_int_distribution<int> length(18, 40);
      const int n = length(random);
      const int point = std::uniform_int_distribution<int>(1, n - 1)(random);
      std::string all = digits(random, n);
      return sign + all.substr(0, static_cast<std::size_t>(point)) + "." +
             all.substr(static_cast<std::size_t>(point));
    }
    default: {  // exponents
      static constexpr char kLetters[] = {'e', 'E', 'd', 'D'};
      std::uniform_int_distribution<int> exponent(-40, 38);
      return sign + digits(random, 1) + "." + digits(random, small(random) + 2) +
             kLetters[random() % 4] + std::to_string(exponent(random));
    }
  }
}

// The same number with every digit, point and sign written full width
// (A3 B0..A3 B9, A3 AE, A3 AD).
std::string full_width(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += '\xA3';
    out += static_cast<char>(static_cast<unsigned char>(c) + 0x80);
  }
  return out;
}

std::string for_strtof(std::string ascii) {
  for (char& c : ascii) {
    if (c == 'd') c = 'e';
    if (c == 'D') c = 'E';
  }
  return ascii;
}

// The inputs and the kind of each, made together.
struct MadeParseInputs {
  ParseInputs all;
  ParseInputs by_kind[kParseKinds];
};

struct MadeFormatInputs {
  std::vector<double> all;
  std::vector<double> by_kind[kFormatKinds];
};

const MadeParseInputs& made_parse_inputs() {
  static const MadeParseInputs inputs = [] {
    MadeParseInputs made;
    std::mt19937_64 random(kSeed);
    for (std::size_t i = 0; i < kInputCount; ++i) {
      const auto pick = random() % 10;  // 0-3 short, 4-5 long, 6-7 exponent, 8-9 full width
      const int number = pick < 4   ? 0
                         : pick < 6 ? 1
                         : pick < 8 ? 2
                                    : static_cast<int>(random() % 2);
      const ParseKind kind = pick < 4   ? kShort
                             : pick < 6 ? kLongDigits
                             : pick < 8 ? kExponent
                                        : kFullWidth;
      const std::string ascii = ascii_number(random, number);
      const std::string gbk = kind == kFullWidth ? full_width(ascii) : ascii;
      made.all.gbk.add(gbk);
      made.all.ascii.add(for_strtof(ascii));
      made.by_kind[kind].gbk.add(gbk);
      made.by_kind[kind].ascii.add(for_strtof(ascii));
    }
    made.all.gbk.finish();
    made.all.ascii.finish();
    for (ParseInputs& part : made.by_kind) {
      part.gbk.finish();
      part.ascii.finish();
    }
    return made;
  }();
  return inputs;
}

const MadeFormatInputs& made_format_inputs() {
  static const MadeFormatInputs inputs = [] {
    MadeFormatInputs made;
    made.all.reserve(kInputCount);
    std::mt19937_64 random(kSeed + 1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (std::size_t i = 0; i < kInputCount; ++i) {
      const auto pick = random() % 10;
      double value;
      FormatKind kind;
      if (pick < 7) {
        // Typical: 0.1 to 10000, held at one or four decimal places as the
        // rows leave them (the nearest double to the decimal).
        const double scale = pick % 2 == 0 ? 10.0 : 10000.0;
        value = std::round(std::pow(10.0, unit(random) * 5 - 1) * scale) / scale;
        kind = kTypical;
      } else if (pick == 7) {
        value = std::pow(10.0, -5 - unit(random) * 295);
        kind = kTiny;
      } else if (pick == 8) {
        value = std::pow(10.0, 13 + unit(random) * 287);
        kind = kHuge;
      } else {
        const std::uint64_t bits = random() & ((std::uint64_t{1} << 52) - 1);
        std::memcpy(&value, &bits, sizeof value);
        kind = kSubnormal;
      }
      if (random() % 4 == 0) value = -value;
      made.all.push_back(value);
      made.by_kind[kind].push_back(value);
    }
    return made;
  }();
  return inputs;
}

}  // namespace

const char* const kParseKindNames[kParseKinds] = {"short numbers", "long digit strings",
                                                  "exponents", "full-width digits"};
const char* const kFormatKindNames[kFormatKinds] = {"typical results", "tiny", "huge", "subnormal"};

const ParseInputs& parse_inputs() { return made_parse_inputs().all; }
const ParseInputs& parse_inputs(ParseKind kind) { return made_parse_inputs().by_kind[kind]; }
const std::vector<double>& format_inputs() { return made_format_inputs().all; }
const std::vector<double>& format_inputs(FormatKind kind) {
  return made_format_inputs().by_kind[kind];
}

void TextList::add(const std::string& text) {
  starts_.push_back(bytes_.size());
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  bytes_.push_back('\0');
}

void TextList::finish() {
  texts_.clear();
  for (std::size_t start : starts_) texts_.push_back(bytes_.data() + start);
}

}  // namespace kalvoro::bench
