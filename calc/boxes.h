// How the handlers reach the edit boxes: read_text and write_text on a box
// store that the shell (or a test) attaches. The handlers never see the
// window itself.
#pragma once

#include "calc/text.h"

namespace kalvoro {

// The fifteen edit boxes, by their names in the window definition (the
// numbers 12 and 13 do not occur).
enum class EditBox : int {
  编辑框1 = 1,
  编辑框2 = 2,
  编辑框3 = 3,
  编辑框4 = 4,
  编辑框5 = 5,
  编辑框6 = 6,
  编辑框7 = 7,
  编辑框8 = 8,
  编辑框9 = 9,
  编辑框10 = 10,
  编辑框11 = 11,
  编辑框14 = 14,
  编辑框15 = 15,
  编辑框16 = 16,
  编辑框17 = 17,
};

class BoxStore {
 public:
  virtual ~BoxStore() = default;
  // The box's whole text as a fresh Text (allocate_text) owned by the caller,
  // or nullptr when the box is empty. Changes nothing in the box.
  virtual Text read_text(EditBox box) = 0;
  // Replaces the box's whole text by a copy of `text` (nullptr empties it).
  // Works on read-only boxes; does not move the focus.
  virtual void write_text(EditBox box, Text text) = 0;
};

// Attaches the store that read_text / write_text go to (nullptr detaches)
// and returns the one it replaces.
BoxStore* attach_box_store(BoxStore* store) noexcept;

// The handlers' two ways to the boxes, forwarded to the attached store. With
// no store attached, read_text gives nothing and write_text does nothing.
Text read_text(EditBox box);
void write_text(EditBox box, Text text);

}  // namespace kalvoro
