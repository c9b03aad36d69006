// The Windows control model on real edit controls: GBK in and out of
// UTF-16 controls, whole-text replacement, read-only boxes, and reading and
// writing leaving the caret, selection and focus alone.
#include "ui/win_boxes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "calc/boxes.h"
#include "tests/support/text_ledger.h"
#include "ui/window_definition.h"

namespace kalvoro::ui {
namespace {

using enum EditBox;

// A visible top-level window holding the fifteen edit boxes of the
// definition (read-only where the definition says so).
class WinBoxesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"boxes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                              240, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    for (std::size_t i = 0; i < controls().size(); ++i) {
      const ControlDef& c = controls()[i];
      if (c.kind != ControlKind::edit_box) continue;
      windows_[i] = CreateWindowExW(
          0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (c.read_only ? ES_READONLY : 0),
          c.left, c.top, c.width, c.height, parent_, nullptr, nullptr, nullptr);
      ASSERT_NE(windows_[i], nullptr);
    }
  }
  void TearDown() override {
    DestroyWindow(parent_);
    EXPECT_EQ(ledger_.live(), 0u);
  }
  HWND edit(EditBox box) const { return windows_[static_cast<std::size_t>(control_index(box))]; }
  std::wstring shown(EditBox box) const {
    std::array<wchar_t, 1024> buffer{};
    GetWindowTextW(edit(box), buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
  }
  std::string read(EditBox box) {
    const OwnedText text(boxes_.read_text(box));
    return text.get() == nullptr ? std::string("<absent>") : std::string(text.get());
  }

  testing::TextLedger ledger_;
  HWND parent_ = nullptr;
  std::array<HWND, kControlCount> windows_{};
  WinBoxes boxes_{windows_};
};

struct Conversion {
  const char* why;
  std::string gbk;
  std::wstring utf16;
};

const Conversion kConversions[] = {
    {"ASCII digits", "20", L"20"},
    {"a throw-distance result",
     "2.9\xA1\xAA"
     "4.3\xC3\xD7",
     L"2.9\u2014"
     L"4.3\u7C73"},
    {"an image-size result",
     "70\xA1\xAA"
     "105\xB4\xE7",
     L"70\u2014"
     L"105\u5BF8"},
    {"the credit text",
     "\xD7\xF7\xD5\xDF"
     "Dovrane",
     L"\u4F5C\u8005Dovrane"},
    {"full-width colon and digits", "\xA3\xBA\xA3\xB2\xA3\xB0", L"\uFF1A\uFF12\uFF10"},
    {"only spaces are kept as they are", "   ", L"   "},
    {"infinity as format_number writes it", "-1.#INF\xC3\xD7", L"-1.#INF\u7C73"},
};

TEST_F(WinBoxesTest, WritesAndReadsGbkThroughUtf16) {
  for (const Conversion& c : kConversions) {
    boxes_.write_text(编辑框2, c.gbk.c_str());
    EXPECT_EQ(shown(编辑框2), c.utf16) << c.why;
    EXPECT_EQ(read(编辑框2), c.gbk) << c.why;
  }
}

TEST_F(WinBoxesTest, EmptyBoxGivesNothingAndAbsentTextEmpties) {
  EXPECT_EQ(read(编辑框1), "<absent>");
  boxes_.write_text(编辑框1, "12");
  boxes_.write_text(编辑框1, nullptr);
  EXPECT_EQ(shown(编辑框1), L"");
  EXPECT_EQ(read(编辑框1), "<absent>");
  boxes_.write_text(编辑框1, "12");
  boxes_.write_text(编辑框1, "");
  EXPECT_EQ(read(编辑框1), "<absent>");
}

TEST_F(WinBoxesTest, TypedCharactersOutsideGbkReadAsQuestionMarks) {
  // U+00E9 has a GBK form (A8 A6) and code page 936 gives the euro sign the
  // single byte 80; Thai U+0E01 has none, nor U+1F600, whose two UTF-16
  // units each become one '?'.
  SetWindowTextW(edit(编辑框3), L"\u00E9\u20AC\u0E01\U0001F600x");
  EXPECT_EQ(read(编辑框3), "\xA8\xA6\x80???x");
}

TEST_F(WinBoxesTest, LongTextsAreNotCut) {
  std::string digits;
  for (int i = 0; i < 700; ++i) digits += static_cast<char>('0' + i % 10);
  digits += "\xC3\xD7";
  boxes_.write_text(编辑框9, digits.c_str());
  EXPECT_EQ(read(编辑框9), digits);
}

TEST_F(WinBoxesTest, WritingReplacesTheWholeTextOfReadOnlyBoxes) {
  for (EditBox box : {编辑框4, 编辑框7, 编辑框16, 编辑框17}) {
    ASSERT_TRUE(GetWindowLongW(edit(box), GWL_STYLE) & ES_READONLY);
    boxes_.write_text(box, "1234567");
    boxes_.write_text(box, "89");
    EXPECT_EQ(read(box), "89");
  }
}

TEST_F(WinBoxesTest, ReadingAndWritingLeaveCaretSelectionAndFocusAlone) {
  SetForegroundWindow(parent_);
  SetFocus(edit(编辑框1));
  ASSERT_EQ(GetFocus(), edit(编辑框1));
  SetWindowTextW(edit(编辑框1), L"12345");
  SendMessageW(edit(编辑框1), EM_SETSEL, 1, 3);
  EXPECT_EQ(read(编辑框1), "12345");
  boxes_.write_text(编辑框7,
                    "\xD7\xF7\xD5\xDF"
                    "Dovrane");
  DWORD start = 0, end = 0;
  SendMessageW(edit(编辑框1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
  EXPECT_EQ(GetFocus(), edit(编辑框1));
}

TEST_F(WinBoxesTest, ReadingRunsOutOfMemoryThroughTheTextAllocator) {
  boxes_.write_text(编辑框5, "30");
  ledger_.fail_after(0);
  EXPECT_THROW(boxes_.read_text(编辑框5), testing::OutOfMemory);
}

TEST(GbkConversion, BothWaysAgree) {
  testing::TextLedger ledger;
  for (const Conversion& c : kConversions) {
    EXPECT_EQ(utf16_from_gbk(c.gbk.c_str()), c.utf16) << c.why;
    const OwnedText back(gbk_from_utf16(c.utf16));
    EXPECT_EQ(std::string(back.or_empty()), c.gbk) << c.why;
  }
  EXPECT_EQ(utf16_from_gbk(nullptr), L"");
  EXPECT_EQ(gbk_from_utf16(L""), nullptr);
}

}  // namespace
}  // namespace kalvoro::ui
