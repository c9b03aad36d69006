// The shell's rules without a window: what a key means (window keys,
// key_code, modifier_state), which handler an event reaches and what it
// gives back, and the exit routine that runs once.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "app/dispatch.h"
#include "app/exit_routine.h"
#include "app/keys.h"
#include "tests/support/text_ledger.h"
#include "ui/memory_boxes.h"
#include "ui/window_definition.h"

namespace kalvoro::app {
namespace {

TEST(KeyCode, KeypadIsReportedAsTheMainKeyboard) {
  struct Case {
    std::uint32_t virtual_key;
    std::int32_t key_code;
    const char* why;
  };
  const Case cases[] = {
      {96, 48, "keypad 0 -> 0"},
      {101, 53, "keypad 5 -> 5"},
      {105, 57, "keypad 9 -> 9, last of the digit range"},
      {109, 189, "keypad - -> main -"},
      {110, 190, "keypad . -> main ."},
      {111, 191, "keypad / -> main /"},
      {106, 106, "keypad * has no main-keyboard twin: unchanged"},
      {107, 107, "keypad + likewise"},
      {95, 95, "just below the keypad digits: unchanged"},
      {112, 112, "F1, just above keypad /: unchanged"},
      {35, 35, "End: the credit key"},
      {13, 13, "Enter"},
      {0x1A3, 0xA3, "only the low 8 bits count"},
      {0x160, 48, "high bits dropped before the keypad remap"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(key_code_of(c.virtual_key), c.key_code) << c.why << " (vk " << c.virtual_key << ")";
  }
}

TEST(ModifierState, SumsHeldKeysButNotThePressedOne) {
  struct Case {
    std::uint32_t virtual_key;
    bool ctrl, shift, alt;
    std::int32_t state;
    const char* why;
  };
  const Case cases[] = {
      {35, false, false, false, 0, "End alone"},
      {35, true, false, false, 1, "Ctrl+End"},
      {35, false, true, false, 2, "Shift+End"},
      {35, false, false, true, 4, "Alt+End (a system key-down)"},
      {35, true, true, true, 7, "all three"},
      {17, true, false, false, 0, "Ctrl pressed alone does not count itself"},
      {16, true, true, false, 1, "Shift pressed with Ctrl held"},
      {18, false, false, true, 0, "Alt alone"},
      {0xA2, true, false, false, 0, "left Ctrl by its own code"},
      {0xA5, false, true, true, 2, "right Alt by its own code, Shift held"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(modifier_state_of(c.virtual_key, c.ctrl, c.shift, c.alt), c.state) << c.why;
  }
}

TEST(WindowKeys, OnlyExactModifierCombinationsBelongToTheWindow) {
  struct Case {
    std::uint32_t virtual_key;
    std::int32_t modifiers;
    WindowKey meaning;
    const char* why;
  };
  const Case cases[] = {
      {9, 0, WindowKey::next_control, "Tab"},
      {9, kShiftHeld, WindowKey::previous_control, "Shift+Tab"},
      {27, 0, WindowKey::close, "Esc"},
      {9, kCtrlHeld, WindowKey::none, "Ctrl+Tab goes to the control"},
      {9, kAltHeld, WindowKey::none, "Alt+Tab goes to the control"},
      {9, kShiftHeld | kCtrlHeld, WindowKey::none, "Shift+Ctrl+Tab: Shift not alone"},
      {27, kShiftHeld, WindowKey::none, "Shift+Esc does not close"},
      {27, kAltHeld, WindowKey::none, "Alt+Esc does not close"},
      {13, 0, WindowKey::none, "Enter has no meaning of its own"},
      {112, 0, WindowKey::none, "F1: no help"},
      {35, 0, WindowKey::none, "End belongs to the box"},
  };
  for (const Case& c : cases) EXPECT_EQ(window_key(c.virtual_key, c.modifiers), c.meaning) << c.why;
}

class DispatchTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(ledger_.live(), 0u); }
  DispatchResult key(const char* control, std::int32_t key_code, std::int32_t modifiers) {
    const std::array<std::int32_t, 2> arguments{key_code, modifiers};
    return dispatch_event(ui::control_index(control), Event::key_down, arguments);
  }
  DispatchResult click(const char* control) {
    return dispatch_event(ui::control_index(control), Event::clicked, {});
  }

  testing::TextLedger ledger_;
  ui::MemoryBoxes boxes_;
  ui::ScopedBoxStore attached_{boxes_};
};

const std::string kCredit =
    "\xD7\xF7\xD5\xDF"
    "Dovrane";

TEST_F(DispatchTest, ButtonsReachTheirRowsAndGiveNothingBack) {
  using enum EditBox;
  boxes_.type(编辑框1, "20");
  boxes_.type(编辑框5, "30");
  boxes_.type(编辑框3, "0.7");
  boxes_.type(编辑框2, "100");
  const DispatchResult dispatched = click("按钮1");
  EXPECT_TRUE(dispatched.handled);
  EXPECT_FALSE(dispatched.result.has_value());
  EXPECT_FALSE(withholds_key(dispatched));
  EXPECT_EQ(boxes_.shown(编辑框4),
            "2.9\xA1\xAA"
            "4.3\xC3\xD7");
  // The other rows' results were not touched by row 1's button.
  EXPECT_EQ(boxes_.shown(编辑框7), "");
  EXPECT_EQ(boxes_.shown(编辑框16), "");
  EXPECT_TRUE(click("按钮2").handled);
  EXPECT_TRUE(click("按钮4").handled);
}

TEST_F(DispatchTest, OnlyTheFirstBoxHasAKeyHandler) {
  using enum EditBox;
  // End in 编辑框1, whatever the modifiers: the credit text; the key still
  // goes on to the box.
  for (std::int32_t modifiers : {0, 1, 2, 4}) {
    boxes_.type(编辑框7, "");
    const DispatchResult dispatched = key("编辑框1", 35, modifiers);
    EXPECT_TRUE(dispatched.handled);
    EXPECT_FALSE(withholds_key(dispatched));
    EXPECT_EQ(boxes_.shown(编辑框7), kCredit) << "modifiers " << modifiers;
  }
  boxes_.type(编辑框7, "");
  EXPECT_TRUE(key("编辑框1", 13, 0).handled) << "Enter reaches the handler, which ignores it";
  EXPECT_FALSE(key("编辑框2", 35, 0).handled) << "End elsewhere has no handler";
  EXPECT_FALSE(key("按钮1", 35, 0).handled);
  EXPECT_FALSE(dispatch_event(kMainWindowSource, Event::key_down, std::array{35, 0}).handled);
  EXPECT_FALSE(click("编辑框1").handled) << "boxes have no click handler";
  EXPECT_FALSE(click("标签1").handled);
  EXPECT_EQ(boxes_.shown(编辑框7), "");
}

TEST(WithholdsKey, OnlyAGivenBackZero) {
  EXPECT_FALSE(withholds_key({}));
  EXPECT_FALSE(withholds_key({.handled = true, .result = std::nullopt}));
  EXPECT_TRUE(withholds_key({.handled = true, .result = 0}));
  EXPECT_FALSE(withholds_key({.handled = true, .result = 1}));
  EXPECT_FALSE(withholds_key({.handled = true, .result = -1}));
}

int g_exit_runs = 0;

TEST(ExitRoutine, RunsOnceAndCanBeForgotten) {
  g_exit_runs = 0;
  register_exit_routine([] { ++g_exit_runs; });
  run_exit_routine();
  run_exit_routine();
  EXPECT_EQ(g_exit_runs, 1);
  register_exit_routine([] { ++g_exit_runs; });
  forget_exit_routine();
  run_exit_routine();
  EXPECT_EQ(g_exit_runs, 1);
}

// Last in this program: stopping is for good.
TEST_F(DispatchTest, NothingRunsOnceHandlersAreStopped) {
  using enum EditBox;
  stop_handlers();
  EXPECT_FALSE(key("编辑框1", 35, 0).handled);
  EXPECT_FALSE(click("按钮1").handled);
  EXPECT_FALSE(dispatch_event(kMainWindowSource, Event::created, {}).handled);
  EXPECT_EQ(boxes_.shown(编辑框7), "");
  EXPECT_EQ(boxes_.shown(编辑框4), "");
}

}  // namespace
}  // namespace kalvoro::app
