#include "calc/boxes.h"

namespace kalvoro {

namespace {
BoxStore* g_store = nullptr;
}  // namespace

BoxStore* attach_box_store(BoxStore* store) noexcept {
  BoxStore* previous = g_store;
  g_store = store;
  return previous;
}

Text read_text(EditBox box) { return g_store != nullptr ? g_store->read_text(box) : nullptr; }

void write_text(EditBox box, Text text) {
  if (g_store != nullptr) g_store->write_text(box, text);
}

}  // namespace kalvoro
