#include "ui/window_definition.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "calc/handlers.h"

namespace kalvoro::ui {
namespace {

TEST(WindowDefinition, HoldsEighteenLabelsFifteenBoxesThreeButtonsWithUniqueNames) {
  int labels = 0, boxes = 0, buttons = 0;
  std::set<std::string> names;
  std::set<EditBox> box_ids;
  for (const ControlDef& c : controls()) {
    EXPECT_TRUE(names.insert(c.name).second) << c.name;
    switch (c.kind) {
      case ControlKind::label:
        ++labels;
        break;
      case ControlKind::edit_box:
        ++boxes;
        ASSERT_TRUE(c.box.has_value()) << c.name;
        EXPECT_TRUE(box_ids.insert(*c.box).second) << c.name;
        EXPECT_EQ(std::string(c.name), "编辑框" + std::to_string(static_cast<int>(*c.box)));
        EXPECT_STREQ(c.text, "") << "every box starts empty";
        break;
      case ControlKind::button:
        ++buttons;
        break;
    }
    // Everything lies inside the client area of the 625 x 228 window.
    EXPECT_LE(c.left + c.width, 608) << c.name;
    EXPECT_LE(c.top + c.height, 177) << c.name;
  }
  EXPECT_EQ(labels, 18);
  EXPECT_EQ(boxes, 15);
  EXPECT_EQ(buttons, 3);
}

TEST(WindowDefinition, FocusOrderIsTheReverseDefinitionOrderOfTabStops) {
  const std::vector<std::string> expected = {
      "编辑框1",  "编辑框2", "编辑框3",  "编辑框4",  "按钮1",    "编辑框5",
      "编辑框10", "编辑框8", "编辑框7",  "编辑框6",  "编辑框11", "按钮2",
      "按钮4",    "编辑框9", "编辑框15", "编辑框14", "编辑框16", "编辑框17"};
  std::vector<std::string> actual;
  for (int index : focus_order())
    actual.push_back(controls()[static_cast<std::size_t>(index)].name);
  EXPECT_EQ(actual, expected);
}

TEST(WindowDefinition, OnlyTheFourResultBoxesAreReadOnlyAndCyan) {
  const std::set<EditBox> results = {EditBox::编辑框4, EditBox::编辑框7, EditBox::编辑框16,
                                     EditBox::编辑框17};
  for (const ControlDef& c : controls()) {
    if (c.kind != ControlKind::edit_box) {
      EXPECT_FALSE(c.read_only) << c.name;
      continue;
    }
    const bool result = results.count(*c.box) != 0;
    EXPECT_EQ(c.read_only, result) << c.name;
    EXPECT_EQ(c.look.text_colour, result ? kCyan : kGreen) << c.name;
    EXPECT_EQ(control_index(*c.box), &c - controls().data());
    EXPECT_EQ(control_index(c.name), &c - controls().data());
  }
}

TEST(WindowDefinition, EventsAreBoundWhereTheRowsNeedThem) {
  std::vector<std::string> clickable, keyed;
  for (const ControlDef& c : controls()) {
    if (c.on_click != nullptr) clickable.push_back(c.name);
    if (c.on_key_down != nullptr) keyed.push_back(c.name);
  }
  EXPECT_EQ(clickable, (std::vector<std::string>{"按钮4", "按钮2", "按钮1"}));
  EXPECT_EQ(keyed, (std::vector<std::string>{"编辑框1"}));
  const ControlDef& b1 = controls()[23];
  EXPECT_STREQ(b1.name, "按钮1");
  EXPECT_EQ(b1.on_click, &calc_throw_distance);
  EXPECT_STREQ(b1.text, "\xBC\xC6\xCB\xE3\xBE\xE0\xC0\xEB");  // 计算距离
}

TEST(WindowDefinition, CentredOriginTruncatesAndMayBeNegative) {
  EXPECT_EQ(centred_origin(1024, 768), (Point{199, 270}));
  EXPECT_EQ(centred_origin(1920, 1080), (Point{647, 426}));
  EXPECT_EQ(centred_origin(626, 229), (Point{0, 0}));      // half a pixel truncated
  EXPECT_EQ(centred_origin(600, 200), (Point{-12, -14}));  // smaller than the window
  EXPECT_EQ(centred_origin(623, 225), (Point{-1, -1}));    // -1.5 truncates toward zero
}

}  // namespace
}  // namespace kalvoro::ui
