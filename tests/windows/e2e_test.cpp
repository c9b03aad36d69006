// kalvoro.exe end to end: a separate process starts it, drives it with real
// input (SendInput keys, characters and mouse clicks) and reads it from
// outside. Each test starts its own copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "tests/windows/e2e_driver.h"
#include "ui/window_definition.h"

namespace kalvoro::e2e {
namespace {

const std::string kDash = "\xA1\xAA";   // —
const std::string kMetre = "\xC3\xD7";  // 米
const std::string kInch = "\xB4\xE7";   // 寸
const std::string kCredit =
    "\xD7\xF7\xD5\xDF"
    "Dovrane";
constexpr DWORD kFatalStatus = 0xFFFFFFFF;

class KalvoroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = program_from_environment("KALVORO_EXE");
    ASSERT_FALSE(program_.empty()) << "KALVORO_EXE is not set";
    reset_keyboard();
    start(app_);
  }

  void start(std::unique_ptr<App>& app, const std::wstring& arguments = L"") {
    app = std::make_unique<App>(program_, L"", arguments);
    ASSERT_NE(app->wait_main_window(), nullptr) << "no window";
    ASSERT_EQ(app->children().size(), std::size_t{ui::kControlCount});
    ASSERT_TRUE(bring_to_front(app->main_window()));
  }

  HWND control(const std::string& name) const { return app_->control(name); }
  std::string shown(const std::string& name) const { return to_gbk(text_of(control(name))); }
  bool focus_is(const std::string& name) const { return app_->focus() == control(name); }
  bool shows(const std::string& name, const std::string& gbk) const { return shown(name) == gbk; }

  // Puts the focus in a box by clicking it, then types.
  void click_and_type(const std::string& name, const std::wstring& text) {
    click(centre_of(control(name)));
    if (!wait_until([&] { return focus_is(name); }, 2000)) {
      // Seen once in many runs on a loaded machine: the click did not reach
      // the box. Said in the log, then tried once more.
      std::printf("note: first click on %s did not focus it; clicking again\n", name.c_str());
      click(centre_of(control(name)));
    }
    ASSERT_TRUE(wait_until([&] { return focus_is(name); })) << name;
    type(text);
    ASSERT_TRUE(wait_until([&] { return text_of(control(name)) == text; })) << name;
  }

  // Every key sent so far has been served once a marker character typed
  // into the focused box `name` shows up there (input is served in order).
  void sync_through(const std::string& name) {
    const std::wstring before = text_of(control(name));
    type(L"#");
    ASSERT_TRUE(wait_until([&] { return text_of(control(name)).find(L'#') != std::wstring::npos; }))
        << name << " never received the marker; it holds '" << shown(name) << "'";
    (void)before;
  }

  std::wstring program_;
  std::unique_ptr<App> app_;
};

TEST_F(KalvoroTest, StartsCentredWithEveryControlInPlaceAndFocusInTheFirstBox) {
  const HWND window = app_->main_window();
  EXPECT_EQ(text_of(window), L"Kalvoro");
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 625);
  EXPECT_EQ(outer.bottom - outer.top, 228);
  const int screen_width = GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(outer.left, (screen_width - 625) / 2) << "screen width " << screen_width;
  EXPECT_EQ(outer.top, (screen_height - 228) / 2) << "screen height " << screen_height;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(GetForegroundWindow(), window);

  POINT client{0, 0};
  ClientToScreen(window, &client);
  const std::vector<HWND> children = app_->children();  // stacking order, topmost first
  for (std::size_t i = 0; i < children.size(); ++i) {
    const ui::ControlDef& def = ui::controls()[i];
    SCOPED_TRACE(def.name);
    const HWND child = children[i];
    RECT r{};
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left - client.x, def.left);
    EXPECT_EQ(r.top - client.y, def.top);
    EXPECT_EQ(r.right - r.left, def.width);
    EXPECT_EQ(r.bottom - r.top, def.height);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(IsWindowEnabled(child));
    std::array<wchar_t, 32> class_name{};
    GetClassNameW(child, class_name.data(), static_cast<int>(class_name.size()));
    const wchar_t* expected_class = def.kind == ui::ControlKind::label    ? L"Static"
                                    : def.kind == ui::ControlKind::button ? L"Button"
                                                                          : L"Edit";
    EXPECT_EQ(lstrcmpiW(class_name.data(), expected_class), 0);
    const LONG child_style = GetWindowLongW(child, GWL_STYLE);
    EXPECT_EQ((child_style & WS_TABSTOP) != 0, def.kind != ui::ControlKind::label);
    if (def.kind == ui::ControlKind::edit_box) {
      EXPECT_EQ((child_style & ES_READONLY) != 0, def.read_only);
      EXPECT_EQ(text_of(child), L"") << "every box starts empty";
    } else {
      EXPECT_EQ(text_of(child), from_gbk(def.text));
    }
  }
  EXPECT_TRUE(wait_until([&] { return focus_is("编辑框1"); }));
}

TEST_F(KalvoroTest, EachRowComputesItsWorkedExample) {
  click_and_type("编辑框1", L"20");
  click_and_type("编辑框5", L"30");
  click_and_type("编辑框3", L"0.7");
  click_and_type("编辑框2", L"100");
  click(centre_of(control("按钮1")));
  const std::string distance = "2.9" + kDash + "4.3" + kMetre;
  EXPECT_TRUE(wait_until([&] { return shows("编辑框4", distance); })) << shown("编辑框4");

  click_and_type("编辑框10", L"20");
  click_and_type("编辑框6", L"30");
  click_and_type("编辑框8", L"0.7");
  click_and_type("编辑框11", L"3");
  click(centre_of(control("按钮2")));
  const std::string size = "70" + kDash + "105" + kInch;
  EXPECT_TRUE(wait_until([&] { return shows("编辑框7", size); })) << shown("编辑框7");

  click_and_type("编辑框9", L"100");
  click_and_type("编辑框15", L"16");
  click_and_type("编辑框14", L"9");
  click(centre_of(control("按钮4")));
  EXPECT_TRUE(wait_until([&] { return shows("编辑框17", "1.2453" + kMetre); }))
      << shown("编辑框17");
  EXPECT_EQ(shown("编辑框16"), "2.2138" + kMetre);
  // Each row wrote only its own result boxes.
  EXPECT_EQ(shown("编辑框4"), distance);
  EXPECT_EQ(shown("编辑框7"), size);
}

TEST_F(KalvoroTest, TabWalksTheFocusOrderAndShiftTabGoesBack) {
  const char* const order[] = {"编辑框2",  "编辑框3",  "编辑框4", "按钮1",    "编辑框5",
                               "编辑框10", "编辑框8",  "编辑框7", "编辑框6",  "编辑框11",
                               "按钮2",    "按钮4",    "编辑框9", "编辑框15", "编辑框14",
                               "编辑框16", "编辑框17", "编辑框1"};
  ASSERT_TRUE(wait_until([&] { return focus_is("编辑框1"); }));
  for (const char* next : order) {
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus_is(next); })) << "Tab should reach " << next;
  }
  press(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(wait_until([&] { return focus_is("编辑框17"); }));
  press(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(wait_until([&] { return focus_is("编辑框16"); }));
  // Ctrl+Tab is no window key: the focus stays.
  press(VK_TAB, {VK_CONTROL});
  press(VK_TAB);
  EXPECT_TRUE(wait_until([&] { return focus_is("编辑框17"); }));
}

TEST_F(KalvoroTest, EndInTheFirstBoxWritesTheCreditAndStillMovesTheCaret) {
  ASSERT_TRUE(wait_until([&] { return focus_is("编辑框1"); }));
  type(L"123");
  ASSERT_TRUE(wait_until([&] { return shows("编辑框1", "123"); }));

  press(VK_HOME);
  press(VK_END);
  EXPECT_TRUE(wait_until([&] { return shows("编辑框7", kCredit); })) << shown("编辑框7");
  EXPECT_TRUE(wait_until([&] { return selection_of(control("编辑框1")) == std::pair{3ul, 3ul}; }));

  set_text(control("编辑框7"), L"");
  press(VK_HOME);
  press(VK_END, {VK_SHIFT});
  EXPECT_TRUE(wait_until([&] { return shows("编辑框7", kCredit); }));
  EXPECT_TRUE(wait_until([&] {
    return selection_of(control("编辑框1")) == std::pair{0ul, 3ul};
  })) << "Shift+End selects to the end";

  set_text(control("编辑框7"), L"");
  press(VK_END, {VK_MENU});
  EXPECT_TRUE(wait_until([&] { return shows("编辑框7", kCredit); })) << "Alt+End";

  // Pressed twice: the same single text, never appended.
  press(VK_END);
  press(VK_END);
  sync_through("编辑框1");
  EXPECT_EQ(shown("编辑框7"), kCredit);
  EXPECT_EQ(shown("编辑框1"), "123#");
}

TEST_F(KalvoroTest, EndElsewhereAndEnterChangeNothing) {
  click_and_type("编辑框2", L"5");
  press(VK_END);
  sync_through("编辑框2");
  EXPECT_EQ(shown("编辑框7"), "");

  // Row 1 filled in: Enter in a box and on the focused button computes
  // nothing; Space on the button does.
  click_and_type("编辑框5", L"30");
  click_and_type("编辑框3", L"0.7");
  set_text(control("编辑框2"), L"100");
  click_and_type("编辑框1", L"20");
  press(VK_RETURN);
  sync_through("编辑框1");
  EXPECT_EQ(shown("编辑框1"), "20#");
  set_text(control("编辑框1"), L"20");
  for (int i = 0; i < 4; ++i) press(VK_TAB);
  ASSERT_TRUE(wait_until([&] { return focus_is("按钮1"); }));
  press(VK_END);
  press(VK_RETURN);
  press(VK_TAB);  // served after Enter: once the focus has moved, Enter is done
  ASSERT_TRUE(wait_until([&] { return focus_is("编辑框5"); }));
  EXPECT_EQ(shown("编辑框4"), "") << "Enter clicked the button";
  EXPECT_EQ(shown("编辑框7"), "") << "End on a button wrote the credit";
  press(VK_TAB, {VK_SHIFT});
  ASSERT_TRUE(wait_until([&] { return focus_is("按钮1"); }));
  press(VK_SPACE);
  EXPECT_TRUE(wait_until([&] { return shows("编辑框4", "2.9" + kDash + "4.3" + kMetre); }))
      << "Space clicks the focused button";
}

TEST_F(KalvoroTest, KeypadDigitsTypeDigits) {
  ASSERT_TRUE(wait_until([&] { return focus_is("编辑框1"); }));
  // Num Lock lives in Wine's server, shared by every program of the run, and
  // only its effect on the program tells it from here: with it off a keypad
  // digit types nothing and only the sync mark shows. Then it is turned on,
  // once, by the key itself.
  press(VK_NUMPAD1);
  sync_through("编辑框1");
  if (shown("编辑框1") == "#") {
    press(VK_NUMLOCK);
    set_text(control("编辑框1"), L"");
    press(VK_NUMPAD1);
    sync_through("编辑框1");
  }
  ASSERT_EQ(shown("编辑框1"), "1#");
  set_text(control("编辑框1"), L"");
  press(VK_NUMPAD1);
  press(VK_NUMPAD0);
  press(VK_DECIMAL);
  press(VK_NUMPAD5);
  EXPECT_TRUE(wait_until([&] { return shows("编辑框1", "10.5"); })) << shown("编辑框1");
  EXPECT_EQ(shown("编辑框7"), "") << "keypad digits are no End key";
}

// The window's close paths, each ending the process with status 0.
enum class CloseBy { close_button, system_menu_keys, system_command, alt_f4, escape };

class ClosePathTest : public KalvoroTest, public ::testing::WithParamInterface<CloseBy> {};

POINT close_button_of(HWND window) {
  // The caption's close button, found by asking the window what lies under
  // points along its caption from the right edge.
  RECT r{};
  GetWindowRect(window, &r);
  const int y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  for (int x = r.right - 2; x > r.right - 80; --x) {
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit);
    if (hit == HTCLOSE) return {x - 3, y};
  }
  ADD_FAILURE() << "no close button found";
  return {r.right - 10, y};
}

TEST_P(ClosePathTest, EndsWithStatusZero) {
  const HWND window = app_->main_window();
  switch (GetParam()) {
    case CloseBy::close_button:
      click(close_button_of(window));
      break;
    case CloseBy::system_menu_keys:
      press(VK_SPACE, {VK_MENU});
      ASSERT_TRUE(wait_until([&] { return app_->top_window(L"#32768") != nullptr; }))
          << "no system menu";
      press('C');
      break;
    case CloseBy::system_command:
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case CloseBy::alt_f4:
      press(VK_F4, {VK_MENU});
      break;
    case CloseBy::escape:
      // From a button: Esc belongs to the window whatever has the focus.
      press(VK_TAB, {VK_SHIFT});
      press(VK_TAB, {VK_SHIFT});
      press(VK_TAB, {VK_SHIFT});
      press(VK_TAB, {VK_SHIFT});
      press(VK_TAB, {VK_SHIFT});
      press(VK_TAB, {VK_SHIFT});
      ASSERT_TRUE(wait_until([&] { return focus_is("按钮4"); }));
      press(VK_ESCAPE, {VK_SHIFT});  // not the window's key: nothing
      press(VK_TAB);                 // served after it
      ASSERT_TRUE(wait_until([&] { return focus_is("编辑框9"); }));
      ASSERT_TRUE(IsWindow(window)) << "Shift+Esc closed the window";
      press(VK_ESCAPE);
      break;
  }
  EXPECT_EQ(app_->wait_exit(), 0u);
}

std::string close_path_name(const ::testing::TestParamInfo<CloseBy>& info) {
  constexpr std::array<const char*, 5> kNames = {"CloseButton", "SystemMenuKeys", "SystemCommand",
                                                 "AltF4", "Escape"};
  return kNames.at(static_cast<std::size_t>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Kalvoro, ClosePathTest,
                         ::testing::Values(CloseBy::close_button, CloseBy::system_menu_keys,
                                           CloseBy::system_command, CloseBy::alt_f4,
                                           CloseBy::escape),
                         close_path_name);

// The second copy gets a command line; it is ignored.
TEST_F(KalvoroTest, TwoCopiesRunSideBySideAndFocusComesBack) {
  press(VK_TAB);
  press(VK_TAB);
  ASSERT_TRUE(wait_until([&] { return focus_is("编辑框3"); }));
  type(L"7");
  ASSERT_TRUE(wait_until([&] { return shows("编辑框3", "7"); }));

  std::unique_ptr<App> second;
  start(second, L"20 30 /? --help \"\u6295\u5F71\" -1e39");
  ASSERT_NE(second->pid(), app_->pid());
  for (const ui::ControlDef& c : ui::controls()) {
    if (c.kind == ui::ControlKind::edit_box) {
      EXPECT_EQ(text_of(second->control(c.name)), L"") << c.name;
    }
  }
  const HWND second_first_box = second->control("编辑框1");
  ASSERT_TRUE(wait_until([&] { return second->focus() == second_first_box; }));
  type(L"42");
  EXPECT_TRUE(wait_until([&] { return text_of(second_first_box) == L"42"; }));
  EXPECT_EQ(shown("编辑框1"), "") << "typing went to the other copy";
  EXPECT_EQ(shown("编辑框3"), "7");

  press(VK_ESCAPE);
  EXPECT_EQ(second->wait_exit(), 0u);
  // Back to the first copy: the focus is where it was left.
  ASSERT_TRUE(bring_to_front(app_->main_window()));
  EXPECT_TRUE(wait_until([&] { return focus_is("编辑框3"); }));
  press(VK_ESCAPE);
  EXPECT_EQ(app_->wait_exit(), 0u);
}

// The fatal failure path, through the test build that injects failures.
class FatalPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = program_from_environment("KALVORO_TESTHOOKS_EXE");
    if (program_.empty()) GTEST_SKIP() << "built without KALVORO_TEST_HOOKS";
    reset_keyboard();
  }
  // The error box: ownerless, with the error icon; returns it.
  static HWND wait_error_box(App& app) {
    HWND box = nullptr;
    EXPECT_TRUE(wait_until([&] { return (box = app.top_window(L"#32770")) != nullptr; }))
        << "no message box";
    if (box == nullptr) return nullptr;
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box belongs to a window";
    bool has_icon = false;
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
      if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) has_icon = true;
    }
    EXPECT_TRUE(has_icon);
    EXPECT_FALSE(text_of(GetDlgItem(box, 0xFFFF)).empty()) << "the box says nothing";
    return box;
  }
  static void dismiss(HWND box) {
    ASSERT_TRUE(bring_to_front(box));
    press(VK_RETURN);
  }
  std::wstring program_;
};

TEST_F(FatalPathTest, WindowThatCannotBeCreatedEndsWithMinusOne) {
  App app(program_, L"window");
  const HWND box = wait_error_box(app);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(app.top_window(L"KalvoroMainWindow"), nullptr);
  dismiss(box);
  EXPECT_EQ(app.wait_exit(), kFatalStatus);
}

TEST_F(FatalPathTest, TextAllocationFailureStopsEveryHandler) {
  App app(program_, L"text");
  const HWND window = app.wait_main_window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(bring_to_front(window));
  const auto children = app.children();
  ASSERT_EQ(children.size(), std::size_t{ui::kControlCount});
  click(centre_of(app.control("按钮1")));
  const HWND box = wait_error_box(app);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(IsWindowVisible(window)) << "MainWindow stays on the screen meanwhile";
  // A second click would fail again and raise a second box if its handler ran.
  click(centre_of(app.control("按钮2")));
  Sleep(300);  // nothing to poll for: the absence of a second box
  int boxes = 0;
  EnumWindows(
      [](HWND w, LPARAM param) -> BOOL {
        std::array<wchar_t, 16> name{};
        GetClassNameW(w, name.data(), static_cast<int>(name.size()));
        if (IsWindowVisible(w) && lstrcmpW(name.data(), L"#32770") == 0)
          ++*reinterpret_cast<int*>(param);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(text_of(app.control("编辑框4")), L"");
  EXPECT_EQ(text_of(app.control("编辑框7")), L"");
  dismiss(box);
  EXPECT_EQ(app.wait_exit(), kFatalStatus);
}

}  // namespace
}  // namespace kalvoro::e2e
