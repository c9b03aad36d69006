#include "ui/win_boxes.h"

#include <climits>
#include <cstring>

namespace kalvoro::ui {

namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

std::wstring utf16_from_gbk(Text text) {
  const std::size_t length = text_length(text);
  if (length == 0 || length > INT_MAX) return {};
  const int bytes = static_cast<int>(length);
  const int units = MultiByteToWideChar(kGbkCodePage, 0, text, bytes, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, text, bytes, wide.data(), units);
  return wide;
}

Text gbk_from_utf16(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return nullptr;
  const int units = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(kGbkCodePage, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return nullptr;
  char* gbk = allocate_text(static_cast<std::size_t>(bytes));
  WideCharToMultiByte(kGbkCodePage, 0, text.data(), units, gbk, bytes, nullptr, nullptr);
  return gbk;
}

HWND WinBoxes::window_of(EditBox box) const {
  const int index = control_index(box);
  return index < 0 ? nullptr : windows_[static_cast<std::size_t>(index)];
}

Text WinBoxes::read_text(EditBox box) {
  const HWND edit = window_of(box);
  if (edit == nullptr) return nullptr;
  // Step 1: the length in UTF-16 units; step 2: the text itself, which may
  // be shorter than announced (never longer than the buffer given).
  const LRESULT announced = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
  if (announced <= 0) return nullptr;
  std::wstring wide(static_cast<std::size_t>(announced) + 1, L'\0');
  const LRESULT copied = SendMessageW(edit, WM_GETTEXT, static_cast<WPARAM>(wide.size()),
                                      reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  // Step 3: GBK, in a fresh Text the caller owns.
  return gbk_from_utf16(wide);
}

void WinBoxes::write_text(EditBox box, Text text) {
  const HWND edit = window_of(box);
  if (edit == nullptr) return;
  SetWindowTextW(edit, utf16_from_gbk(text).c_str());
}

}  // namespace kalvoro::ui
