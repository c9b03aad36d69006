// The three calculator rows and the credit key, driven through the in-memory
// box model as the window would drive them: texts in, click, result bytes out.
#include "calc/handlers.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/text_ledger.h"
#include "ui/memory_boxes.h"

namespace kalvoro {
namespace {

using enum EditBox;
using testing::OutOfMemory;
using testing::TextLedger;

const std::string kDash = "\xA1\xAA";
const std::string kMetre = "\xC3\xD7";
const std::string kInch = "\xB4\xE7";
const std::string kCredit =
    "\xD7\xF7\xD5\xDF"
    "Dovrane";
const std::string kFullWidth20 = "\xA3\xB2\xA3\xB0";  // "２０"

class HandlerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Every Text handed out during the run was given back exactly once.
    EXPECT_EQ(ledger_.live(), 0u);
    EXPECT_EQ(ledger_.bad_releases(), 0u);
  }
  void type(EditBox box, const std::string& text) { boxes_.type(box, text); }
  const std::string& shown(EditBox box) const { return boxes_.shown(box); }

  TextLedger ledger_;
  ui::MemoryBoxes boxes_;
  ui::ScopedBoxStore attached_{boxes_};
};

struct RangeCase {
  const char* why;
  const char* left_focal;
  const char* right_focal;
  const char* chip;
  const char* other;  // image diagonal (row 1) or throw distance (row 2)
  std::string expected;
};

TEST_F(HandlerTest, ThrowDistance) {
  const RangeCase cases[] = {
      {"worked example", "20", "30", "0.7", "100", "2.9" + kDash + "4.3" + kMetre},
      {"never sorted: the left box gives the first number", "30", "20", "0.7", "100",
       "4.3" + kDash + "2.9" + kMetre},
      {"empty box counts as 0, shown without a point", "", "30", "0.7", "100",
       "0" + kDash + "4.3" + kMetre},
      {"chip stored as single puts D below the half: 1.2499999405518007", "15", "15", "0.6", "50",
       "1.2" + kDash + "1.2" + kMetre},
      {"negative focal length mirrors", "-20", "30", "0.7", "100", "-2.9" + kDash + "4.3" + kMetre},
      {"full-width digits fold", kFullWidth20.c_str(), "30", "0.7", "100",
       "2.9" + kDash + "4.3" + kMetre},
      {"trailing unit ignored", "20mm", "30", "0.7", "100", "2.9" + kDash + "4.3" + kMetre},
      {"chip 0: division by zero gives infinities", "20", "30", "", "100",
       "1.#INF" + kDash + "1.#INF" + kMetre},
      {"0 / 0 gives the default NaN", "", "30", "", "100", "-1.#IND" + kDash + "1.#INF" + kMetre},
      {"every box empty", "", "", "", "", "-1.#IND" + kDash + "-1.#IND" + kMetre},
  };
  for (const RangeCase& c : cases) {
    type(编辑框1, c.left_focal);
    type(编辑框5, c.right_focal);
    type(编辑框3, c.chip);
    type(编辑框2, c.other);
    calc_throw_distance();
    EXPECT_EQ(shown(编辑框4), c.expected) << c.why;
  }
}

TEST_F(HandlerTest, ImageSize) {
  const RangeCase cases[] = {
      {"worked example: the right box gives the first number", "20", "30", "0.7", "3",
       "70" + kDash + "105" + kInch},
      {"focal lengths swapped", "30", "20", "0.7", "3", "105" + kDash + "70" + kInch},
      {"chip stored as single puts D below the half: 43.74999699630137", "16", "16", "0.7", "1",
       "43.7" + kDash + "43.7" + kInch},
      {"one decimal kept", "20.5", "30", "0.7", "3", "70" + kDash + "102.4" + kInch},
      {"distance empty", "20", "30", "0.7", "", "0" + kDash + "0" + kInch},
      {"chip empty", "20", "30", "", "3", "0" + kDash + "0" + kInch},
      {"left focal empty divides by zero", "", "30", "0.7", "3", "70" + kDash + "1.#INF" + kInch},
      {"right focal empty divides by zero", "20", "", "0.7", "3", "1.#INF" + kDash + "105" + kInch},
      {"0 / 0 in the second number", "", "30", "0.7", "", "0" + kDash + "-1.#IND" + kInch},
      {"negative distance: minus right after the separator", "20", "30", "0.7", "-3",
       "-70" + kDash + "-105" + kInch},
  };
  for (const RangeCase& c : cases) {
    type(编辑框10, c.left_focal);
    type(编辑框6, c.right_focal);
    type(编辑框8, c.chip);
    type(编辑框11, c.other);
    calc_image_size();
    EXPECT_EQ(shown(编辑框7), c.expected) << c.why;
  }
}

TEST_F(HandlerTest, ScreenSides) {
  struct Case {
    const char* why;
    const char* diagonal;
    const char* width;
    const char* height;
    const char* length_text;
    const char* height_text;
  };
  const Case cases[] = {
      {"worked example", "100", "16", "9", "2.2138", "1.2453"},
      {"ratio swapped swaps the results", "100", "9", "16", "1.2453", "2.2138"},
      {"trailing zeros dropped", "100", "4", "3", "2.032", "1.524"},
      {"unrounded height 1.8288000000000002", "120", "4", "3", "2.4384", "1.8288"},
      {"84 inch", "84", "16", "9", "1.8596", "1.046"},
      {"65 inch", "65", "16", "9", "1.439", "0.8094"},
      {"height part empty", "100", "16", "", "2.54", "0"},
      {"width part empty", "100", "", "9", "0", "2.54"},
      {"whole ratio typed in the left box reads as 16", "100", "16:9", "", "2.54", "0"},
      {"diagonal empty", "", "16", "9", "0", "0"},
      {"both ratio parts empty: 0 / 0", "100", "", "", "-1.#IND", "-1.#IND"},
      {"negative diagonal: only squares are used", "-100", "16", "9", "2.2138", "1.2453"},
      {"negative ratio part", "100", "-16", "9", "2.2138", "1.2453"},
  };
  for (const Case& c : cases) {
    type(编辑框9, c.diagonal);
    type(编辑框15, c.width);
    type(编辑框14, c.height);
    calc_screen_sides();
    EXPECT_EQ(shown(编辑框16), c.length_text + kMetre) << c.why;
    EXPECT_EQ(shown(编辑框17), c.height_text + kMetre) << c.why;
  }
}

TEST_F(HandlerTest, EachClickReplacesTheWholeResultAndReadsNoInputBack) {
  type(编辑框4, "old result that is longer than the new one");
  type(编辑框1, "20");
  type(编辑框5, "30");
  type(编辑框3, "0.7");
  type(编辑框2, "100");
  calc_throw_distance();
  calc_throw_distance();
  EXPECT_EQ(shown(编辑框4), "2.9" + kDash + "4.3" + kMetre);
  // The inputs are only read.
  EXPECT_EQ(shown(编辑框1), "20");
  EXPECT_EQ(shown(编辑框3), "0.7");
}

TEST_F(HandlerTest, CreditKeyWritesOnlyOnEndWhateverTheModifiers) {
  type(编辑框1, "20");
  credit_key_down(36, 0);  // Home
  credit_key_down(49, 0);  // digit 1
  credit_key_down(27, 2);  // Shift+Esc reaches the box's handler too
  EXPECT_EQ(shown(编辑框7), "");
  for (std::int32_t modifiers : {0, 1, 2, 4, 7}) {
    type(编辑框7, "");
    credit_key_down(kEndKey, modifiers);
    EXPECT_EQ(shown(编辑框7), kCredit) << "modifiers " << modifiers;
  }
  credit_key_down(kEndKey, 0);  // held down: replaced, never appended
  EXPECT_EQ(shown(编辑框7), kCredit);
  EXPECT_EQ(shown(编辑框1), "20");
  EXPECT_EQ(ledger_.handed_out(), 0u);  // a constant text, nothing handed out
}

TEST_F(HandlerTest, ImageSizeReplacesTheCreditText) {
  credit_key_down(kEndKey, 0);
  type(编辑框11, "3");
  type(编辑框8, "0.7");
  type(编辑框10, "20");
  type(编辑框6, "30");
  calc_image_size();
  EXPECT_EQ(shown(编辑框7), "70" + kDash + "105" + kInch);
}

TEST_F(HandlerTest, OutOfMemoryAtAnyAllocationRunsTheHandlerLeaksNothingWritesNothing) {
  type(编辑框1, "20");
  type(编辑框5, "30");
  type(编辑框3, "0.7");
  type(编辑框2, "100");
  // A click hands out 4 read texts, 2 numbers and the joined text.
  for (std::size_t successes = 0; successes < 7; ++successes) {
    ledger_.fail_after(successes);
    EXPECT_THROW(calc_throw_distance(), OutOfMemory) << "after " << successes;
    EXPECT_EQ(shown(编辑框4), "") << "after " << successes;
    EXPECT_EQ(ledger_.live(), 0u) << "after " << successes;
  }
  ledger_.fail_after(7);
  calc_throw_distance();
  EXPECT_EQ(shown(编辑框4), "2.9" + kDash + "4.3" + kMetre);
}

}  // namespace
}  // namespace kalvoro
