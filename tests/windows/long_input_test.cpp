// Megabyte texts in the running program: each input box of kalvoro.exe gets
// a text of 2^20 characters pasted into it the way a user does it (the text
// put on the clipboard by this driver, then a real Ctrl+V sent with
// SendInput to the focused box), its worked-example value buried in a known
// place; then each row's button is clicked for real. Every result must be
// the worked example's, and every box must still hold its whole text.
//
// The times (paste until the program answers again, click to result) are
// printed, not asserted: the limits below only tell a hang from an answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/windows/e2e_driver.h"

namespace kalvoro::e2e {
namespace {

// Characters of every pasted text (UTF-16 units; 1 to 2 MB once in GBK).
constexpr std::size_t kLongLength = std::size_t{1} << 20;
constexpr DWORD kPasteLimitMs = 60000;
constexpr DWORD kAnswerLimitMs = 10000;
constexpr unsigned kSeed = 20240611;

// Wine's edit control lays out a run of characters with no blank in it in
// a time that grows with the square of the run (measured: 16,384 digits in
// 0.2 s, 32,768 in 0.75 s, 65,536 in 3.4 s, 131,072 in 13 s; letters alike),
// while a megabyte with blanks in it takes a fraction of a second. That is
// the control's own layout, before the program sees the text at all, so the
// texts keep every such run to at most kLongestRun characters.
constexpr std::size_t kLongestRun = 1000;

// How the value sits in its megabyte; each shape trips a different part of
// reading a number.
enum class Shape {
  // The value, then 米 and a megabyte of digits, letters, full-width forms,
  // blanks and Chinese: the number must end at the first character that is
  // none of its own, and reading must not go on through the rest.
  trailing_junk,
  // A megabyte of spaces and ideographic spaces (U+3000, folded to a space),
  // then the value: every blank is skipped.
  leading_blanks,
  // The value, 30 more zeros, then digits, ASCII and full-width mixed, to
  // kLongestRun characters (and a megabyte of junk after a space): only 25
  // significant digits count, so the tail plays no part (a zero 25th digit
  // rounds nothing up).
  long_fraction,
  // A megabyte of blanks, kLongestRun zeros, ASCII and full-width mixed,
  // then the value in full-width digits: leading zeros are not significant.
  leading_zeros,
};

const char* name_of(Shape shape) {
  switch (shape) {
    case Shape::trailing_junk:
      return "trailing junk";
    case Shape::leading_blanks:
      return "leading blanks";
    case Shape::long_fraction:
      return "long fraction";
    case Shape::leading_zeros:
      return "leading zeros";
  }
  return "?";
}

wchar_t full_width(wchar_t ascii) { return static_cast<wchar_t>(ascii - 0x20 + 0xFF00); }

wchar_t pick(const std::wstring& alphabet, std::mt19937& random) {
  return alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
}

// Characters up to kLongLength: digits, letters, full-width forms, blanks
// and Chinese, a blank about every 25 characters.
void add_junk(std::wstring& text, std::mt19937& random) {
  const std::wstring junk =
      L"0123456789\uFF10\uFF15\uFF19abcxyzEeDdABCXYZ\uFF21\uFF25\uFF45\uFF44\uFF0B\uFF0D\uFF0E+-."
      L" \u3000\u2014\u7C73\u5BF8\u8DDD\u79BB";
  while (text.size() < kLongLength) text += pick(junk, random);
}

std::wstring long_text(const std::wstring& value, Shape shape, std::mt19937& random) {
  const std::wstring digits =
      L"0123456789\uFF10\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19";
  const std::wstring blanks = L" \u3000";
  const std::wstring zeros = {L'0', full_width(L'0')};
  std::wstring text;
  text.reserve(kLongLength);
  switch (shape) {
    case Shape::trailing_junk:
      text = value + L"\u7C73";
      add_junk(text, random);
      break;
    case Shape::leading_blanks:
      while (text.size() < kLongLength - value.size()) text += pick(blanks, random);
      text += value;
      break;
    case Shape::long_fraction:
      text = value;
      if (value.find(L'.') == std::wstring::npos) text += L'.';
      for (int i = 0; i < 30; ++i) text += (i % 2 == 0) ? L'0' : full_width(L'0');
      while (text.size() < kLongestRun) text += pick(digits, random);
      text += L' ';
      add_junk(text, random);
      break;
    case Shape::leading_zeros:
      while (text.size() < kLongLength - value.size() - kLongestRun) text += pick(blanks, random);
      while (text.size() < kLongLength - value.size()) text += pick(zeros, random);
      for (wchar_t c : value) text += full_width(c);
      break;
  }
  return text;
}

double seconds_since(LARGE_INTEGER start) {
  LARGE_INTEGER now{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER now() {
  LARGE_INTEGER t{};
  QueryPerformanceCounter(&t);
  return t;
}

LRESULT length_of(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kPasteLimitMs, &length);
  return static_cast<LRESULT>(length);
}

// Waits until the program's thread answers again, having served all that
// came before (the paste and its layout); true when it did.
bool answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPasteLimitMs, &result) != 0;
}

// Where two texts first differ, for the failure message.
std::string first_difference(const std::wstring& held, const std::wstring& pasted) {
  std::size_t at = 0;
  while (at < held.size() && at < pasted.size() && held[at] == pasted[at]) ++at;
  return "the box holds " + std::to_string(held.size()) + " of " + std::to_string(pasted.size()) +
         " characters, the first difference at " + std::to_string(at);
}

struct Input {
  const char* box;
  std::wstring value;
};

struct Row {
  const char* button;
  std::vector<std::pair<const char*, std::wstring>> results;
};

TEST(LongInput, MegabytePastesGiveTheWorkedExamplesAndStayWhole) {
  const std::wstring program = program_from_environment("KALVORO_EXE");
  ASSERT_FALSE(program.empty()) << "KALVORO_EXE is not set";
  reset_keyboard();
  App app(program);
  ASSERT_NE(app.wait_main_window(), nullptr) << "no window";
  ASSERT_TRUE(bring_to_front(app.main_window()));

  // The worked examples of the three rows.
  const std::vector<Input> inputs = {
      {"编辑框1", L"20"},  {"编辑框5", L"30"},  {"编辑框3", L"0.7"}, {"编辑框2", L"100"},
      {"编辑框11", L"3"},  {"编辑框8", L"0.7"}, {"编辑框10", L"20"}, {"编辑框6", L"30"},
      {"编辑框9", L"100"}, {"编辑框15", L"16"}, {"编辑框14", L"9"},
  };
  const std::vector<Row> rows = {
      {"按钮1", {{"编辑框4", L"2.9\u20144.3\u7C73"}}},
      {"按钮2", {{"编辑框7", L"70\u2014105\u5BF8"}}},
      {"按钮4", {{"编辑框16", L"2.2138\u7C73"}, {"编辑框17", L"1.2453\u7C73"}}},
  };

  std::mt19937 random(kSeed);
  std::vector<std::wstring> pasted;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const Input& input = inputs[i];
    const auto shape = static_cast<Shape>(i % 4);
    SCOPED_TRACE(std::string(input.box) + ", " + name_of(shape) + ", seed " +
                 std::to_string(kSeed));
    pasted.push_back(long_text(input.value, shape, random));
    const std::wstring& text = pasted.back();
    const HWND box = app.control(input.box);
    ASSERT_NE(box, nullptr);

    ASSERT_TRUE(put_on_clipboard(text));
    click(centre_of(box));
    ASSERT_TRUE(wait_until([&] { return app.focus() == box; }));
    const LARGE_INTEGER start = now();
    press('V', {VK_CONTROL});
    const bool arrived = wait_until(
        [&] { return length_of(box) >= static_cast<LRESULT>(text.size()); }, kPasteLimitMs);
    ASSERT_TRUE(answers(box)) << "no answer after the paste";
    const double paste_seconds = seconds_since(start);
    const std::wstring held = whole_text_of(box, kPasteLimitMs);
    ASSERT_TRUE(arrived && held == text) << first_difference(held, text);
    std::printf("[ measured ] %s: %zu characters (%s) pasted in %.3f s\n", input.box, text.size(),
                name_of(shape), paste_seconds);
  }

  for (const Row& row : rows) {
    SCOPED_TRACE(row.button);
    const LARGE_INTEGER start = now();
    click(centre_of(app.control(row.button)));
    const bool answered = wait_until(
        [&] {
          for (const auto& [box, expected] : row.results) {
            if (text_of(app.control(box)) != expected) return false;
          }
          return true;
        },
        kAnswerLimitMs);
    const double answer_seconds = seconds_since(start);
    for (const auto& [box, expected] : row.results) {
      EXPECT_EQ(to_gbk(text_of(app.control(box))), to_gbk(expected)) << box;
    }
    EXPECT_TRUE(answered);
    std::printf("[ measured ] %s: click to result in %.3f s\n", row.button, answer_seconds);
  }

  // Nothing pasted was lost or altered by the clicks.
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const std::wstring held = whole_text_of(app.control(inputs[i].box), kPasteLimitMs);
    EXPECT_TRUE(held == pasted[i]) << inputs[i].box << ": " << first_difference(held, pasted[i]);
  }
}

}  // namespace
}  // namespace kalvoro::e2e
