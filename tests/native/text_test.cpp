#include "calc/text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/text_ledger.h"

namespace kalvoro {
namespace {

using testing::OutOfMemory;
using testing::TextLedger;

TEST(JoinText, JoinsPartsWithoutSeparatorsAndSkipsAbsentOnes) {
  struct Case {
    const char* why;
    std::initializer_list<Text> parts;
    std::string expected;
  };
  const Case cases[] = {
      {"a range result",
       {"2.9", texts::kDash, "4.3", texts::kMetre},
       "2.9\xA1\xAA"
       "4.3\xC3\xD7"},
      {"an absent part counts as empty",
       {texts::kDash, nullptr, texts::kMetre},
       "\xA1\xAA\xC3\xD7"},
      {"one part is copied",
       {texts::kCredit},
       "\xD7\xF7\xD5\xDF"
       "Dovrane"},
  };
  for (const Case& c : cases) {
    TextLedger ledger;
    Text joined = join_text(c.parts);
    EXPECT_EQ(std::string(joined), c.expected) << c.why;
    EXPECT_EQ(ledger.live(), 1u) << c.why;
    release_text(joined);
    EXPECT_EQ(ledger.live(), 0u) << c.why;
  }
}

TEST(JoinText, AllEmptyPartsGiveANewEmptyTextNotAnAbsentOne) {
  TextLedger ledger;
  Text joined = join_text({nullptr, texts::kEmpty, nullptr});
  ASSERT_NE(joined, nullptr);
  EXPECT_NE(joined, texts::kEmpty);  // a block of its own, not the constant
  EXPECT_EQ(text_length(joined), 0u);
  EXPECT_EQ(ledger.handed_out(), 1u);
  release_text(joined);
}

TEST(ReleaseText, IgnoresAnAbsentText) {
  TextLedger ledger;
  release_text(nullptr);
  EXPECT_EQ(ledger.bad_releases(), 0u);
}

TEST(OwnedText, GivesItsTextBackExactlyOnce) {
  TextLedger ledger;
  {
    OwnedText a(join_text({"x"}));
    OwnedText b(std::move(a));
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_STREQ(b.or_empty(), "x");
    b.reset();
    EXPECT_EQ(ledger.live(), 0u);
    OwnedText c;
    EXPECT_STREQ(c.or_empty(), "");
  }
  EXPECT_EQ(ledger.live(), 0u);
  EXPECT_EQ(ledger.bad_releases(), 0u);
}

TEST(OutOfMemory, RunsTheHandlerInsteadOfHandingOutNull) {
  TextLedger ledger;
  ledger.fail_after(0);
  EXPECT_THROW(join_text({"2.9", texts::kMetre}), OutOfMemory);
  EXPECT_THROW(allocate_text(3), OutOfMemory);
  EXPECT_EQ(ledger.live(), 0u);
}

TEST(OutOfMemory, ARequestThatCannotBeSizedIsOutOfMemoryToo) {
  TextLedger ledger;
  EXPECT_THROW(allocate_text(static_cast<std::size_t>(-1)), OutOfMemory);
}

}  // namespace
}  // namespace kalvoro
