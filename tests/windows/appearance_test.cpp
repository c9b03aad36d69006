// What kalvoro.exe shows, read back from the screen: the black panel and
// label fills, the caption, arrow and box text colours, the flat skin frame
// of the edit boxes, the silver buttons and their hot and pressed looks;
// and the program file's version information.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/windows/e2e_driver.h"
#include "tests/windows/screen_capture.h"
#include "ui/window_definition.h"

namespace kalvoro::e2e {
namespace {

using test::Capture;
using test::Colour;

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kSilverFrame{166, 166, 196};

Colour colour_of(ui::Rgb rgb) { return {rgb.red, rgb.green, rgb.blue}; }

// True when `p` is `text` scaled by a factor between 0.5 and 1 (within
// rounding): the text colour blended over black.
bool shade_of(Colour p, Colour text) {
  const int strongest = std::max({text.red, text.green, text.blue});
  const int scaled = std::max({p.red, p.green, p.blue});
  if (scaled * 2 < strongest) return false;
  const auto close_to = [&](int channel, int text_channel) {
    return std::abs(channel * strongest - text_channel * scaled) <= 8 * strongest;
  };
  return close_to(p.red, text.red) && close_to(p.green, text.green) && close_to(p.blue, text.blue);
}

class AppearanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = program_from_environment("KALVORO_EXE");
    ASSERT_FALSE(program_.empty()) << "KALVORO_EXE is not set";
    reset_keyboard();
    SetCursorPos(0, 0);  // no button starts hot
    app_ = std::make_unique<App>(program_);
    ASSERT_NE(app_->wait_main_window(), nullptr) << "no window";
    ASSERT_EQ(app_->children().size(), std::size_t{ui::kControlCount});
    ASSERT_TRUE(bring_to_front(app_->main_window()));
    Sleep(300);  // first paint on the screen
  }

  HWND control(const std::string& name) const { return app_->control(name); }
  // A control's rectangle on the screen, from the definition.
  RECT place(std::size_t index) const {
    const ui::ControlDef& c = ui::controls()[index];
    POINT origin{0, 0};
    ClientToScreen(app_->main_window(), &origin);
    return {origin.x + c.left, origin.y + c.top, origin.x + c.left + c.width,
            origin.y + c.top + c.height};
  }
  RECT place(const std::string& name) const {
    return place(static_cast<std::size_t>(ui::control_index(name)));
  }

  std::wstring program_;
  std::unique_ptr<App> app_;
};

// The client area outside every control is black, and so is each label's
// fill; each label group shows its own text colour.
TEST_F(AppearanceTest, BlackPanelAndLabelColours) {
  const RECT client = test::client_area(app_->main_window());
  const Capture shot(client);

  std::vector<RECT> places;
  for (std::size_t i = 0; i < ui::controls().size(); ++i) places.push_back(place(i));
  int stray = 0;
  for (int y = client.top; y < client.bottom; ++y) {
    for (int x = client.left; x < client.right; ++x) {
      const POINT p{x, y};
      bool covered = false;
      for (const RECT& r : places) covered = covered || PtInRect(&r, p);
      if (!covered && shot.at(x, y) != kBlack) {
        if (stray++ < 5)
          ADD_FAILURE() << "background at " << x - client.left << "," << y - client.top << " is "
                        << shot.at(x, y);
      }
    }
  }
  EXPECT_EQ(stray, 0);

  for (std::size_t i = 0; i < ui::controls().size(); ++i) {
    const ui::ControlDef& c = ui::controls()[i];
    if (c.kind != ui::ControlKind::label) continue;
    SCOPED_TRACE(c.name);
    const RECT r = places[i];
    // Corners lie outside every caption: the fill shows there.
    EXPECT_EQ(shot.at(r.left, r.top), kBlack);
    EXPECT_EQ(shot.at(r.right - 1, r.bottom - 1), kBlack);
    // Text pixels: the text colour, or (on smoothed edges and thin strokes)
    // a darker shade of it over the black fill.
    const Colour text = colour_of(c.look.text_colour);
    const int ink = shot.count_if(r, [text](Colour p) { return shade_of(p, text); });
    EXPECT_GT(ink, 0) << "no pixel of the text colour " << text;
  }
}

// The group colours by name, so a swapped group shows: input captions
// grey, result captions peach, arrows orange.
TEST_F(AppearanceTest, CaptionAndArrowColoursByGroup) {
  struct Row {
    const char* label;
    Colour colour;
  };
  const Row rows[] = {
      {"标签1", {236, 236, 236}},  {"标签16", {236, 236, 236}}, {"标签4", {255, 213, 170}},
      {"标签18", {255, 213, 170}}, {"标签6", {255, 128, 0}},    {"标签15", {255, 128, 0}},
  };
  const Capture shot(test::client_area(app_->main_window()));
  for (const Row& row : rows) {
    EXPECT_GT(shot.count(place(row.label), row.colour), 0) << row.label << " " << row.colour;
  }
}

// Edit boxes: black inside, the flat grey-violet frame with its margin,
// not the sunken edge.
TEST_F(AppearanceTest, EditBoxesWearTheFlatFrame) {
  const Capture shot(test::client_area(app_->main_window()));
  const Colour window_colour = test::from_ref(GetSysColor(COLOR_WINDOW));
  const Colour face_colour = test::from_ref(GetSysColor(COLOR_BTNFACE));
  for (std::size_t i = 0; i < ui::controls().size(); ++i) {
    const ui::ControlDef& c = ui::controls()[i];
    if (c.kind != ui::ControlKind::edit_box) continue;
    SCOPED_TRACE(c.name);
    const HWND box = app_->children().at(i);
    EXPECT_EQ(GetWindowLongPtrW(box, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
    const RECT r = place(i);
    const int mid_x = (r.left + r.right) / 2, mid_y = (r.top + r.bottom) / 2;
    // Neighbours overlap some box edges by a pixel or two (labels 5, 7, 14
    // and box 15 lie over them), so the frame is read on the free sides:
    // top and bottom in the middle of the box.
    EXPECT_EQ(shot.at(mid_x, r.top), kSilverFrame);
    EXPECT_EQ(shot.at(mid_x, r.bottom - 1), kSilverFrame);
    const Colour margin = c.read_only ? face_colour : window_colour;
    EXPECT_EQ(shot.at(mid_x, r.top + 1), margin);
    EXPECT_EQ(shot.at(mid_x, r.bottom - 2), margin);
    EXPECT_EQ(shot.at(r.left + 4, mid_y), kBlack) << "inside";
  }
}

// Typed text is green on black; a result is cyan on black.
TEST_F(AppearanceTest, TypedTextIsGreenAndResultsAreCyan) {
  const HWND first = control("编辑框1");
  ASSERT_TRUE(wait_until([&] { return app_->focus() == first; }));
  type(L"12.5");
  ASSERT_TRUE(wait_until([&] { return text_of(first) == L"12.5"; }));
  // End in the first box writes the credit text into box 7.
  press(VK_END);
  const HWND result = control("编辑框7");
  ASSERT_TRUE(wait_until([&] { return !text_of(result).empty(); }));
  // Tab takes the focus, and with it the caret, out of the first box.
  press(VK_TAB);
  ASSERT_TRUE(wait_until([&] { return app_->focus() != first; }));
  Sleep(200);

  const Capture shot(test::client_area(app_->main_window()));
  const RECT input = test::client_area(first);
  const RECT output = test::client_area(result);
  EXPECT_GT(shot.count(input, {0, 255, 0}), 0);
  EXPECT_GT(shot.count(output, {0, 255, 255}), 0);
  // Text on black: apart from the text colour and its smoothed edges (its
  // own hue, darker), the inside is black.
  const auto off_hue = [](Colour target) {
    return [target](Colour c) {
      return (target.red == 0 && c.red != 0) || (target.blue == 0 && c.blue != 0) ||
             (target.green == 0 && c.green != 0);
    };
  };
  EXPECT_EQ(shot.count_if(input, off_hue({0, 255, 0})), 0);
  EXPECT_EQ(shot.count_if(output, off_hue({0, 255, 255})), 0);
  EXPECT_GT(shot.count(output, kBlack),
            (output.right - output.left) * (output.bottom - output.top) / 2);
}

// The colours down the middle of a button's face, top to bottom.
std::vector<Colour> face_column(const RECT& button) {
  const Capture shot(button);
  std::vector<Colour> column;
  const int x = button.left + 4;  // left of the caption
  for (int y = button.top + 2; y < button.bottom - 2; ++y) column.push_back(shot.at(x, y));
  return column;
}
int brightness(Colour c) { return c.red + c.green + c.blue; }

// Silver buttons on the first showing, hot under the mouse, pressed while
// the left button is down.
TEST_F(AppearanceTest, ButtonsAreSilverAndShowHotAndPressed) {
  const RECT button = place("按钮1");
  const std::vector<Colour> normal = face_column(button);
  ASSERT_GE(normal.size(), 15u);
  const Colour top = normal.front(), bottom = normal.back();
  EXPECT_GT(brightness(top), brightness(bottom) + 30) << top << " over " << bottom;
  EXPECT_LE(std::abs(top.red - top.green), 16) << top;
  EXPECT_LE(std::abs(bottom.blue - bottom.red), 32) << bottom;
  EXPECT_EQ(Capture(button).at(button.left, button.top), kBlack) << "rounded corner";

  const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  SetCursorPos(centre.x, centre.y);
  ASSERT_TRUE(wait_until([&] { return face_column(button) != normal; }, 2000)) << "no hot look";
  const std::vector<Colour> hot = face_column(button);

  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof(INPUT));
  const bool pressed_shows =
      wait_until([&] { return face_column(button) != hot && face_column(button) != normal; }, 2000);
  const std::vector<Colour> pressed = face_column(button);
  // Let go outside the button: no click.
  SetCursorPos(0, 0);
  INPUT up = down;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof(INPUT));
  EXPECT_TRUE(pressed_shows) << "no pressed look";
  EXPECT_LT(brightness(pressed.front()), brightness(pressed.back())) << "face sinks in";
  EXPECT_TRUE(wait_until([&] { return face_column(button) == normal; }, 2000)) << "look stays";
}

// Version information: Chinese (Simplified), UTF-16, 1.0.0.0, and the
// product's name in the three texts.
TEST(ProgramFile, CarriesTheVersionInformation) {
  const std::wstring program = program_from_environment("KALVORO_EXE");
  ASSERT_FALSE(program.empty());
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, block.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);

  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0804) << "Chinese (Simplified)";
  EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200) << "UTF-16";

  const struct {
    const wchar_t* field;
    const wchar_t* expected;
  } strings[] = {
      {L"FileVersion", L"1.0.0.0"},     {L"ProductVersion", L"1.0.0.0"},
      {L"FileDescription", L"Kalvoro"}, {L"ProductName", L"Kalvoro"},
      {L"Comments", L"Kalvoro"},
  };
  for (const auto& s : strings) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + s.field;
    ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), &value, &length)) << path.size();
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), s.expected);
  }
}

}  // namespace
}  // namespace kalvoro::e2e
