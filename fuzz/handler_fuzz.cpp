// One calculator row driven through the in-memory boxes with arbitrary box
// bytes: lone lead bytes, NULs (a typed text stops at its first NUL, as in an
// edit box), megabyte texts. Built once per row (KALVORO_FUZZ_ROW 1, 2
// or 3).
//
// Input: byte 0 picks a long text (FF: 1 MiB, FE: 1/16 of that; made by
// repeating the text of the input box that byte 1 picks; else none; the
// environment variable KALVORO_FUZZ_LONG_TEXT replaces the 1 MiB); then for each input
// box of the row a length byte (FF: the next two bytes, little-endian) and
// that many bytes.
//
// Checks: no Text left over or released twice; the input boxes and every
// box outside the row unchanged; each result box replaced by number texts
// joined with the row's separator and unit.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/handlers.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reference.h"
#include "ui/memory_boxes.h"

namespace {

using namespace kalvoro;
using namespace kalvoro::fuzz;
using enum EditBox;

constexpr std::string_view kDash = "\xA1\xAA";
[[maybe_unused]] constexpr std::string_view kMetre = "\xC3\xD7";
[[maybe_unused]] constexpr std::string_view kInch = "\xB4\xE7";

struct Row {
  void (*click)();
  std::vector<EditBox> inputs;
  std::vector<EditBox> outputs;
  bool range;  // "<n>—<n><unit>" in one box, else "<n><unit>" per box
  std::string_view unit;
};

#if KALVORO_FUZZ_ROW == 1
const Row kRow{&calc_throw_distance, {编辑框1, 编辑框2, 编辑框3, 编辑框5}, {编辑框4}, true, kMetre};
#elif KALVORO_FUZZ_ROW == 2
const Row kRow{&calc_image_size, {编辑框11, 编辑框8, 编辑框10, 编辑框6}, {编辑框7}, true, kInch};
#elif KALVORO_FUZZ_ROW == 3
const Row kRow{
    &calc_screen_sides, {编辑框9, 编辑框15, 编辑框14}, {编辑框16, 编辑框17}, false, kMetre};
#else
#error "KALVORO_FUZZ_ROW must be 1, 2 or 3"
#endif

constexpr std::array kAllBoxes{编辑框1,  编辑框2,  编辑框3,  编辑框4,  编辑框5,
                               编辑框6,  编辑框7,  编辑框8,  编辑框9,  编辑框10,
                               编辑框11, 编辑框14, 编辑框15, 编辑框16, 编辑框17};

bool contains(const std::vector<EditBox>& boxes, EditBox box) {
  for (EditBox b : boxes)
    if (b == box) return true;
  return false;
}

std::string box_name(EditBox box) { return "box " + std::to_string(static_cast<int>(box)); }

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string_view take(std::size_t n) {
    n = std::min(n, size_ - at_);
    const std::string_view part(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return part;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CurrentInput current(data, size);
  Reader in(data, size);
  const std::size_t grow = in.byte();
  const std::size_t grown_box = in.byte() % kRow.inputs.size();

  ui::MemoryBoxes boxes;
  const ui::ScopedBoxStore attached(boxes);
  for (EditBox box : kAllBoxes)
    boxes.type(box,
               "7\xA1\xAA"
               "keep " +
                   box_name(box));
  for (std::size_t i = 0; i < kRow.inputs.size(); ++i) {
    std::size_t length = in.byte();
    if (length == 0xFF) {
      const std::size_t low = in.byte();
      length = low | in.byte() << 8;
    }
    std::string text(in.take(length));
    if (i == grown_box && !text.empty() && (grow == 0xFF || grow == 0xFE)) {
      const std::size_t target = grow == 0xFF ? long_text_bytes() : long_text_bytes() / 16;
      while (text.size() < target)
        text.append(text, 0, std::min(text.size(), target - text.size()));
    }
    boxes.type(kRow.inputs[i], text);
  }
  std::array<std::string, kAllBoxes.size()> before;
  for (std::size_t i = 0; i < kAllBoxes.size(); ++i) before[i] = boxes.shown(kAllBoxes[i]);

  kRow.click();

  FUZZ_CHECK(live_texts() == 0, "the click kept a Text");
  for (std::size_t i = 0; i < kAllBoxes.size(); ++i) {
    const EditBox box = kAllBoxes[i];
    const std::string& shown = boxes.shown(box);
    if (!contains(kRow.outputs, box)) {
      FUZZ_CHECK(shown == before[i], box_name(box) + " changed");
      continue;
    }
    // Result: number texts with the separator and the unit.
    std::string_view result = shown;
    FUZZ_CHECK(result.ends_with(kRow.unit), box_name(box) + " shows " + hex(result));
    result.remove_suffix(kRow.unit.size());
    if (kRow.range) {
      const std::size_t dash = result.find(kDash);
      FUZZ_CHECK(dash != std::string_view::npos, box_name(box) + " shows " + hex(shown));
      FUZZ_CHECK(is_number_text(result.substr(0, dash)) &&
                     is_number_text(result.substr(dash + kDash.size())),
                 box_name(box) + " shows " + hex(shown));
    } else {
      FUZZ_CHECK(is_number_text(result), box_name(box) + " shows " + hex(shown));
    }
  }
  return 0;
}
