// The control model on Windows: read_text and write_text on the edit
// controls of MainWindow. The controls hold UTF-16; the program's texts are
// GBK (code page 936), converted here at the boundary.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "calc/boxes.h"
#include "ui/window_definition.h"

namespace kalvoro::ui {

// GBK -> UTF-16. An absent text gives "". Bytes that are no GBK character
// become the replacement the system chooses.
std::wstring utf16_from_gbk(Text text);

// UTF-16 -> a fresh Text (allocate_text) in GBK, or nullptr for "".
// Characters that GBK lacks become '?'.
Text gbk_from_utf16(std::wstring_view text);

class WinBoxes final : public BoxStore {
 public:
  // `windows` holds the HWND of every control, by index into controls(); it
  // must outlive the store.
  explicit WinBoxes(std::span<const HWND, kControlCount> windows) : windows_(windows) {}

  // WM_GETTEXT of the box, in GBK; nullptr when the box is empty.
  Text read_text(EditBox box) override;
  // The text in UTF-16 with SetWindowTextW: the caret, selection and focus
  // elsewhere stay as they are; read-only boxes are written all the same.
  void write_text(EditBox box, Text text) override;

 private:
  HWND window_of(EditBox box) const;
  std::span<const HWND, kControlCount> windows_;
};

}  // namespace kalvoro::ui
