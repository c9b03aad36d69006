// Text -> single. The text is folded while it is read (no working copy is
// kept): the reader below yields the bytes that the folded copy would hold,
// as far as the number needs them.

#include <cstdint>

#include "calc/decimal_to_binary.h"
#include "calc/numeric.h"

namespace kalvoro {

namespace {

// The ASCII byte that the two-byte character (lead, trail) folds to, or -1
// when the folding table does not hold it.
//   A1 A1 ideographic space -> ' '     A1 AB fullwidth tilde -> '~'
//   A1 EE, A1 EF white/black star -> '*'
//   A3 A1..A3 FE (U+FF01..U+FF5E, with U+FFE5 at A3 A4 and U+FFE3 at A3 FE)
//     -> trail - 0x80, i.e. '!'..'~'
int fold_pair(unsigned char lead, unsigned char trail) noexcept {
  if (lead == 0xA3) return trail >= 0xA1 && trail <= 0xFE ? trail - 0x80 : -1;
  if (lead == 0xA1) {
    switch (trail) {
      case 0xA1:
        return ' ';
      case 0xAB:
        return '~';
      case 0xEE:
      case 0xEF:
        return '*';
      default:
        return -1;
    }
  }
  return -1;
}

// Yields the folded copy of a Text one byte at a time without making it.
// Never reads past the NUL: a lead byte's trail is looked at only when the
// lead itself is not the NUL, and a NUL trail ends the copy.
class FoldedReader {
 public:
  // A value that no step of the grammar accepts: it stands for a two-byte
  // character that is copied unchanged, which ends any number.
  static constexpr unsigned char kOther = 0x80;

  explicit FoldedReader(const char* text) noexcept
      : at_(reinterpret_cast<const unsigned char*>(text)) {
    load();
  }

  // The current byte of the folded copy; 0 at its end.
  unsigned char current() const noexcept { return current_; }

  void advance() noexcept {
    at_ += width_;
    load();
  }

  // Calls digit(d) for each digit of the run at the current place and stops
  // after it. ASCII digits fold to themselves, so a run of them is read
  // straight from the text; a full-width digit goes through the folding.
  template <typename Digit>
  void read_digits(Digit digit) noexcept {
    while (current_ >= '0' && current_ <= '9') {
      if (width_ == 1) {
        const unsigned char* p = at_;
        do {
          digit(static_cast<unsigned>(*p - '0'));
          ++p;
        } while (*p >= '0' && *p <= '9');
        at_ = p;
        load();
      } else {
        digit(static_cast<unsigned>(current_ - '0'));
        advance();
      }
    }
  }

 private:
  void load() noexcept {
    const unsigned char lead = at_[0];
    if (lead < 0x80) {
      current_ = lead;
      width_ = lead != 0 ? 1 : 0;  // the NUL is never passed
      return;
    }
    const unsigned char trail = at_[1];
    width_ = 2;
    if (trail == 0) {
      // A lone lead byte before the NUL is left out: the copy ends.
      current_ = 0;
      width_ = 0;
      return;
    }
    const int folded = fold_pair(lead, trail);
    current_ = folded >= 0 ? static_cast<unsigned char>(folded) : kOther;
  }

  const unsigned char* at_;
  unsigned char current_ = 0;
  int width_ = 0;
};

bool is_digit(unsigned char c) noexcept { return c >= '0' && c <= '9'; }

// The exponent's digits saturate here: any exponent of 10^15 or more is far
// outside every range that matters, and the sum with the position count
// (bounded by the text length) stays well inside 64 bits.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;

// Significant digits taken from the text: the 25th only rounds the first 24.
constexpr int kKeptDigits = detail::kMaxDecimalDigits + 1;
// Digits gathered in the first 64-bit part.
constexpr int kHeadDigits = 19;

}  // namespace

std::string fold_full_width(Text text) {
  std::string copy;
  if (text == nullptr) return copy;
  const auto* at = reinterpret_cast<const unsigned char*>(text);
  while (*at != 0) {
    const unsigned char lead = *at;
    if (lead < 0x80) {
      copy.push_back(static_cast<char>(lead));
      ++at;
      continue;
    }
    const unsigned char trail = at[1];
    if (trail == 0) break;  // lone lead byte: left out, the copy ends
    const int folded = fold_pair(lead, trail);
    if (folded >= 0) {
      copy.push_back(static_cast<char>(folded));
    } else {
      copy.push_back(static_cast<char>(lead));
      copy.push_back(static_cast<char>(trail));
    }
    at += 2;
  }
  return copy;
}

float parse_single(Text text) {
  if (text == nullptr) return 0.0f;
  FoldedReader in(text);

  // Step 2.1: white space (the ideographic space arrives folded to 20).
  while (in.current() == ' ' || (in.current() >= 0x09 && in.current() <= 0x0D)) in.advance();

  // Step 2.2: one optional sign.
  bool negative = false;
  if (in.current() == '+' || in.current() == '-') {
    negative = in.current() == '-';
    in.advance();
  }

  // Step 2.3: the significand. Value so far = digits * 10^exponent10, with
  // at most kKeptDigits significant digits in `digits`; integer digits past
  // them raise the exponent, kept fraction digits and leading fraction zeros
  // lower it, and fraction digits past them play no part. Both counts are
  // bounded by the text length, so they cannot overflow 64 bits.
  // The kept digits in two 64-bit parts, cheaper per digit than one 128-bit
  // number: the first 19 in `head` (below 10^19 < 2^64), the rest (at most
  // 6) in `tail`.
  std::uint64_t head = 0;
  std::uint64_t tail = 0;
  int kept = 0;
  auto keep = [&](unsigned d) {
    if (kept < kHeadDigits) {
      head = head * 10 + d;
    } else {
      tail = tail * 10 + d;
    }
    ++kept;
  };
  std::int64_t exponent10 = 0;
  bool any_digit = false;
  in.read_digits([&](unsigned d) {
    any_digit = true;
    if (kept == kKeptDigits) {
      ++exponent10;
    } else if (kept > 0 || d != 0) {
      keep(d);
    }
  });
  if (in.current() == '.') {
    in.advance();
    in.read_digits([&](unsigned d) {
      any_digit = true;
      if (kept == kKeptDigits) return;
      if (kept > 0 || d != 0) keep(d);
      --exponent10;
    });
  }
  // Step 2.6: no digit, no number: +0 whatever sign stood before.
  if (!any_digit) return 0.0f;

  // Step 2.4: the exponent, only when a digit follows the letter (and sign);
  // otherwise the number ends before the letter and the rest is ignored.
  const unsigned char letter = in.current();
  if (letter == 'e' || letter == 'E' || letter == 'd' || letter == 'D') {
    in.advance();
    bool exponent_negative = false;
    if (in.current() == '+' || in.current() == '-') {
      exponent_negative = in.current() == '-';
      in.advance();
    }
    std::int64_t exponent = 0;
    for (; is_digit(in.current()); in.advance()) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (in.current() - '0');
    }
    exponent10 += exponent_negative ? -exponent : exponent;
  }

  // Step 3: 25 significant digits are rounded half up to 24 by the 25th (the
  // last digit of `tail`); a carry out (10^24) is 10^23 one decade up.
  bool round_up = false;
  if (kept == kKeptDigits) {
    round_up = tail % 10 >= 5;
    tail /= 10;
    --kept;
    ++exponent10;
  }
  unsigned __int128 digits = head;
  for (int i = kHeadDigits; i < kept; ++i) digits *= 10;
  digits += tail;
  if (round_up) {
    ++digits;
    constexpr unsigned __int128 kTen23 =
        static_cast<unsigned __int128>(10'000'000'000'000) * 10'000'000'000;  // 10^13 * 10^10
    if (digits == kTen23 * 10) {
      digits = kTen23;
      ++exponent10;
    }
  }
  const double nearest = detail::decimal_to_double(negative, digits, exponent10);

  // Step 4: the double to the nearest single, ties to even: the conversion
  // under the evaluation rule's rounding mode.
  return static_cast<float>(nearest);
}

}  // namespace kalvoro
