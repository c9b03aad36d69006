// The skinning service on windows of the test's own: which controls it
// restyles, switching on and off, windows created later, a second call
// replacing the first, and what the restyled edit boxes and push buttons
// show on the screen.
#include "skin/skin.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "tests/windows/screen_capture.h"

namespace kalvoro::skin {
namespace {

using test::Capture;
using test::Colour;

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kSilverFrame{166, 166, 196};
constexpr Colour kBlueFrame{127, 157, 185};

// The panel the controls sit on: black, and black/green colours for its
// edit boxes, like the program's window.
LRESULT CALLBACK panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(0, 255, 0));
      SetBkColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

const wchar_t* panel_class() {
  static const ATOM atom = [] {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &panel_procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"KalvoroSkinTestPanel";
    return RegisterClassExW(&wc);
  }();
  return atom != 0 ? L"KalvoroSkinTestPanel" : nullptr;
}

// True when the window runs a procedure other than its class's own, i.e.
// it has been subclassed.
bool restyled(HWND window) {
  return static_cast<ULONG_PTR>(GetWindowLongPtrW(window, GWLP_WNDPROC)) !=
         GetClassLongPtrW(window, GCLP_WNDPROC);
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_ =
        CreateWindowExW(0, panel_class(), L"skin test", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 60,
                        60, 420, 320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(panel_, nullptr);
  }
  void TearDown() override {
    apply_skin(0);
    DestroyWindow(panel_);
  }

  HWND add(const wchar_t* class_name, DWORD style, DWORD ex_style, RECT place,
           const wchar_t* text = L"", HWND parent = nullptr) {
    const HWND child = CreateWindowExW(
        ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent != nullptr ? parent : panel_,
        nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(child, nullptr) << "class " << static_cast<const void*>(class_name);
    if (child != nullptr) {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                   0);
    }
    return child;
  }
  HWND add_edit(DWORD style = 0, RECT place = {20, 20, 140, 45}) {
    return add(L"EDIT", style | ES_AUTOHSCROLL | ES_CENTER, WS_EX_CLIENTEDGE, place);
  }
  void show() {
    SetForegroundWindow(panel_);
    RedrawWindow(panel_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    test::pump(150);
  }

  HWND panel_ = nullptr;
};

// Switching on and off by style number. Each row starts from the silver
// skin switched on, so the "off" rows show that they switch it off.
TEST_F(SkinTest, StylesOneToThreeSwitchOnAnyOtherSwitchesOff) {
  const HWND button = add(L"BUTTON", BS_PUSHBUTTON, 0, {20, 60, 120, 85}, L"OK");
  const HWND edit = add_edit();
  struct Row {
    std::int32_t style;
    bool on;
    const char* why;
  };
  const Row rows[] = {
      {1, true, "blue"},
      {2, true, "olive green"},
      {3, true, "silver"},
      {0, false, "the usual off value"},
      {4, false, "first number past the schemes"},
      {-1, false, "negative"},
      {INT32_MIN, false, "most negative"},
      {INT32_MAX, false, "largest"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "style " << row.style << " (" << row.why << ")");
    ASSERT_EQ(apply_skin(3), 1);
    EXPECT_EQ(apply_skin(row.style), row.on ? 1 : 0);
    EXPECT_EQ(restyled(button), row.on);
    EXPECT_EQ(restyled(edit), row.on);
    EXPECT_EQ((GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0, row.on);
  }
}

// Which windows the service restyles: the standard controls by class and
// style, nothing else. Checked for windows that exist when it is switched
// on and for windows created afterwards (the creation hook).
TEST_F(SkinTest, RestylesOnlyTheStandardControls) {
  struct Row {
    const wchar_t* class_name;
    DWORD style;
    bool restyled;
    const char* why;
  };
  const Row rows[] = {
      {L"BUTTON", BS_PUSHBUTTON, true, "push button"},
      {L"BUTTON", BS_DEFPUSHBUTTON, true, "default push button"},
      {L"BUTTON", BS_AUTOCHECKBOX, true, "check box"},
      {L"BUTTON", BS_3STATE, true, "three-state check box"},
      {L"BUTTON", BS_AUTORADIOBUTTON, true, "radio button"},
      {L"BUTTON", BS_GROUPBOX, true, "group box"},
      {L"BUTTON", BS_OWNERDRAW, false, "owner-drawn: the owner paints it"},
      {L"EDIT", ES_AUTOHSCROLL, true, "edit box"},
      {L"EDIT", ES_READONLY, true, "read-only edit box"},
      {L"COMBOBOX", CBS_DROPDOWNLIST, true, "combo box"},
      {UPDOWN_CLASSW, 0, true, "up-down control"},
      {L"STATIC", SS_LEFT, false, "label"},
      {L"STATIC", SS_OWNERDRAW, false, "self-painted label, as in the program"},
      {L"LISTBOX", 0, false, "list box: not a control the skin knows"},
      {L"SCROLLBAR", SBS_HORZ, false, "scroll bar: not a control the skin knows"},
  };
  for (const bool created_after : {false, true}) {
    SCOPED_TRACE(created_after ? "created after switching on" : "existing when switched on");
    if (created_after) {
      ASSERT_EQ(apply_skin(3), 1);
    }
    std::vector<HWND> windows;
    int top = 4;
    for (const Row& row : rows) {
      windows.push_back(add(row.class_name, row.style, 0, {10, top, 150, top + 18}, L"x"));
      top += 19;
    }
    // The edit field inside a combo box belongs to the combo box.
    const HWND combo = add(L"COMBOBOX", CBS_DROPDOWN, 0, {200, 10, 330, 120});
    if (!created_after) {
      ASSERT_EQ(apply_skin(3), 1);
    }

    for (std::size_t i = 0; i < windows.size(); ++i) {
      EXPECT_EQ(restyled(windows[i]), rows[i].restyled) << rows[i].why;
    }
    EXPECT_TRUE(restyled(combo));
    const HWND combo_edit = FindWindowExW(combo, nullptr, L"EDIT", nullptr);
    ASSERT_NE(combo_edit, nullptr);
    EXPECT_FALSE(restyled(combo_edit)) << "edit field of a combo box";
    EXPECT_FALSE(restyled(panel_)) << "the window itself paints its own background";

    apply_skin(0);
    for (const HWND window : windows) EXPECT_FALSE(restyled(window));
    EXPECT_FALSE(restyled(combo));
    for (const HWND window : windows) DestroyWindow(window);
    DestroyWindow(combo);
  }
}

// Windows created after the call are restyled too, in a new top-level
// window as well; switching off stops that.
TEST_F(SkinTest, WindowsCreatedLaterAreRestyledUntilSwitchedOff) {
  ASSERT_EQ(apply_skin(3), 1);
  const HWND button = add(L"BUTTON", BS_PUSHBUTTON, 0, {20, 60, 120, 85}, L"later");
  const HWND edit = add_edit();
  EXPECT_TRUE(restyled(button));
  EXPECT_TRUE(restyled(edit));
  EXPECT_EQ(GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  const HWND other = CreateWindowExW(0, panel_class(), L"second", WS_OVERLAPPED, 0, 0, 200, 100,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const HWND other_button = add(L"BUTTON", BS_PUSHBUTTON, 0, {5, 5, 80, 30}, L"b", other);
  EXPECT_TRUE(restyled(other_button));

  apply_skin(0);
  const HWND after_off = add(L"BUTTON", BS_PUSHBUTTON, 0, {20, 100, 120, 125}, L"off");
  EXPECT_FALSE(restyled(after_off));
  EXPECT_FALSE(restyled(other_button));
  DestroyWindow(other);
}

// Edit boxes trade the sunken edge for the flat frame: one pixel of
// grey-violet, one pixel of margin (window colour for input boxes,
// button-face colour for read-only ones), and the inside keeps the parent's
// colours.
TEST_F(SkinTest, EditBoxesGetTheFlatFrame) {
  const HWND input = add_edit(0, {20, 20, 140, 45});
  const HWND read_only = add_edit(ES_READONLY, {160, 20, 280, 45});
  SetWindowTextW(input, L"8888");
  SetWindowTextW(read_only, L"8888");
  ASSERT_EQ(apply_skin(3), 1);
  show();

  struct Row {
    HWND edit;
    int margin_colour;
    const char* why;
  };
  for (const Row& row :
       {Row{input, COLOR_WINDOW, "input"}, Row{read_only, COLOR_BTNFACE, "read-only"}}) {
    SCOPED_TRACE(row.why);
    const LONG_PTR ex_style = GetWindowLongPtrW(row.edit, GWL_EXSTYLE);
    EXPECT_EQ(ex_style & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
    EXPECT_EQ(GetWindowLongPtrW(row.edit, GWL_STYLE) & WS_BORDER, 0);

    const RECT whole = test::window_area(row.edit);
    const RECT client = test::client_area(row.edit);
    EXPECT_EQ(client.left - whole.left, 2);
    EXPECT_EQ(client.top - whole.top, 2);
    EXPECT_EQ(whole.right - client.right, 2);
    EXPECT_EQ(whole.bottom - client.bottom, 2);

    const Capture shot(whole);
    const Colour margin = test::from_ref(GetSysColor(row.margin_colour));
    const RECT outer_top{whole.left, whole.top, whole.right, whole.top + 1};
    const RECT outer_left{whole.left, whole.top, whole.left + 1, whole.bottom};
    const RECT outer_bottom{whole.left, whole.bottom - 1, whole.right, whole.bottom};
    const RECT outer_right{whole.right - 1, whole.top, whole.right, whole.bottom};
    for (const RECT& side : {outer_top, outer_left, outer_bottom, outer_right}) {
      EXPECT_TRUE(shot.all(side, kSilverFrame)) << "outer ring " << shot.at(side.left, side.top);
    }
    const RECT inner_top{whole.left + 1, whole.top + 1, whole.right - 1, whole.top + 2};
    const RECT inner_left{whole.left + 1, whole.top + 1, whole.left + 2, whole.bottom - 1};
    const RECT inner_bottom{whole.left + 1, whole.bottom - 2, whole.right - 1, whole.bottom - 1};
    const RECT inner_right{whole.right - 2, whole.top + 1, whole.right - 1, whole.bottom - 1};
    for (const RECT& side : {inner_top, inner_left, inner_bottom, inner_right}) {
      EXPECT_TRUE(shot.all(side, margin)) << "inner ring " << shot.at(side.left, side.top);
    }
    // Inside: the parent's black background and green text (the small
    // font is smoothed, so its strokes are dark greens, pure green or not).
    EXPECT_GT(shot.count(client, kBlack),
              (client.right - client.left) * (client.bottom - client.top) / 2);
    EXPECT_GT(
        shot.count_if(client, [](Colour c) { return c.green >= 128 && c.red == 0 && c.blue == 0; }),
        0);
  }

  // Switching off brings the sunken edge back.
  apply_skin(0);
  EXPECT_NE(GetWindowLongPtrW(input, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_NE(GetWindowLongPtrW(read_only, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// A second call replaces the first instead of stacking on it: the frame
// takes the new scheme's colour, and one switch-off restores the original
// procedure and edge.
TEST_F(SkinTest, SecondCallReplacesTheFirst) {
  const HWND edit = add_edit();
  const LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  const RECT original_client = test::client_area(edit);

  ASSERT_EQ(apply_skin(1), 1);
  show();
  EXPECT_EQ(Capture(test::window_area(edit))
                .at(test::window_area(edit).left, test::window_area(edit).top),
            kBlueFrame);
  ASSERT_EQ(apply_skin(3), 1);
  show();
  const RECT whole = test::window_area(edit);
  EXPECT_EQ(Capture(whole).at(whole.left + 5, whole.top), kSilverFrame);
  EXPECT_EQ(test::client_area(edit).left - whole.left, 2) << "frame inset once, not twice";

  apply_skin(0);
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), original);
  EXPECT_NE(GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  const RECT client = test::client_area(edit);
  EXPECT_EQ(client.left, original_client.left);
  EXPECT_EQ(client.bottom, original_client.bottom);
}

// The colours down the middle column of a button's face, top to bottom.
std::vector<Colour> face_column(HWND button) {
  const RECT area = test::window_area(button);
  const Capture shot(area);
  std::vector<Colour> column;
  const int x = (area.left + area.right) / 2 + 1;  // beside the caption's middle
  for (int y = area.top + 2; y < area.bottom - 2; ++y) column.push_back(shot.at(x, y));
  return column;
}

int brightness(Colour c) { return c.red + c.green + c.blue; }

// Silver push buttons: rounded, a vertical gradient face in grey tones, and
// a different look when hot, pressed and disabled.
TEST_F(SkinTest, PushButtonsShowTheSilverFaceAndTheirStates) {
  const HWND button = add(L"BUTTON", BS_PUSHBUTTON, 0, {40, 100, 160, 132}, L"");
  ASSERT_EQ(apply_skin(3), 1);
  SetCursorPos(0, 0);
  show();

  const RECT area = test::window_area(button);
  const Capture shot(area);
  EXPECT_EQ(shot.at(area.left, area.top), kBlack) << "rounded corner shows the panel";
  const std::vector<Colour> normal = face_column(button);
  ASSERT_GE(normal.size(), 20u);
  const Colour top = normal[1], bottom = normal[normal.size() - 2];
  EXPECT_GT(brightness(top), brightness(bottom) + 30) << top << " over " << bottom;
  for (const Colour c : {top, bottom}) {
    EXPECT_GE(c.red, 150) << c;
    EXPECT_LE(std::abs(c.red - c.green), 16) << "silver is nearly grey: " << c;
    EXPECT_LE(std::abs(c.blue - c.red), 32) << "silver is nearly grey: " << c;
  }

  // Hot: the mouse over the button.
  SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  test::pump(200);
  const std::vector<Colour> hot = face_column(button);
  EXPECT_NE(hot, normal);

  // Pressed.
  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  test::pump(50);
  const std::vector<Colour> pressed = face_column(button);
  EXPECT_NE(pressed, normal);
  EXPECT_NE(pressed, hot);
  EXPECT_LT(brightness(pressed[1]), brightness(pressed[pressed.size() - 2])) << "face sinks in";

  // Back to normal once released and left.
  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  SetCursorPos(0, 0);
  test::pump(200);
  EXPECT_EQ(face_column(button), normal);

  // Disabled: a flat face.
  EnableWindow(button, FALSE);
  test::pump(50);
  const std::vector<Colour> disabled = face_column(button);
  EXPECT_NE(disabled, normal);
  EXPECT_EQ(disabled[1], disabled[disabled.size() - 2]);
}

}  // namespace
}  // namespace kalvoro::skin
