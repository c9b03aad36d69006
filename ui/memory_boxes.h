// The control model without a windowing system: the texts of the fifteen
// edit boxes held in memory. Tests drive the handlers through it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calc/boxes.h"

namespace kalvoro::ui {

class MemoryBoxes final : public BoxStore {
 public:
  // Every box starts empty, as in the window at start-up.
  MemoryBoxes() = default;

  // BoxStore: an empty box gives nothing; otherwise a fresh copy of the whole
  // text, spaces included. Writing replaces the whole text with a copy.
  Text read_text(EditBox box) override;
  void write_text(EditBox box, Text text) override;

  // What the user would have typed / what the box shows, as GBK bytes. A
  // typed text stops at its first NUL, as an edit box's text does.
  void type(EditBox box, std::string_view gbk);
  const std::string& shown(EditBox box) const;

 private:
  static std::size_t slot(EditBox box) { return static_cast<std::size_t>(box); }
  std::array<std::string, 18> texts_{};
};

// Attaches a store for the lifetime of the scope, then puts back the one
// that was attached before.
class ScopedBoxStore {
 public:
  explicit ScopedBoxStore(BoxStore& store) : previous_(attach_box_store(&store)) {}
  ~ScopedBoxStore() { attach_box_store(previous_); }
  ScopedBoxStore(const ScopedBoxStore&) = delete;
  ScopedBoxStore& operator=(const ScopedBoxStore&) = delete;

 private:
  BoxStore* previous_;
};

}  // namespace kalvoro::ui
