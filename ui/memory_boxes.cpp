#include "ui/memory_boxes.h"

#include <cstring>

namespace kalvoro::ui {

Text MemoryBoxes::read_text(EditBox box) {
  const std::string& text = texts_[slot(box)];
  if (text.empty()) return nullptr;
  char* copy = allocate_text(text.size());
  std::memcpy(copy, text.data(), text.size());
  return copy;
}

void MemoryBoxes::write_text(EditBox box, Text text) {
  texts_[slot(box)].assign(text != nullptr ? text : "");
}

void MemoryBoxes::type(EditBox box, std::string_view gbk) {
  texts_[slot(box)].assign(gbk.substr(0, gbk.find('\0')));
}

const std::string& MemoryBoxes::shown(EditBox box) const { return texts_[slot(box)]; }

}  // namespace kalvoro::ui
