// Text: the program's strings. A Text is a run of GBK (code page 936) bytes
// ended by one NUL; its length is the number of bytes before the NUL.
//
// A Text is either a constant of the program (never given back) or a block
// handed out by read_text, format_number or join_text, which its receiver
// gives back with release_text exactly once. A null Text is "absent": it
// counts as the empty text, and release_text ignores it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <utility>

namespace kalvoro {

using Text = const char*;

// Constant texts. GBK bytes; the characters are spelled out beside them.
namespace texts {
inline constexpr Text kEmpty = "";
inline constexpr Text kDash = "\xA1\xAA";   // "—" U+2014
inline constexpr Text kMetre = "\xC3\xD7";  // "米"
inline constexpr Text kInch = "\xB4\xE7";   // "寸"
inline constexpr Text kCredit =
    "\xD7\xF7\xD5\xDF"
    "Dovrane";  // "作者Dovrane"
}  // namespace texts

// Number of bytes before the NUL; 0 for an absent Text.
//   text_length(nullptr) -> 0, text_length("\xC3\xD7") -> 2
std::size_t text_length(Text text) noexcept;

// A fresh block for a Text of `length` bytes: length + 1 bytes, the last one
// already NUL. Never returns null: when memory runs out the out-of-memory
// handler runs and does not come back.
char* allocate_text(std::size_t length);

// One new Text made of the parts one after another, without separators.
// Absent parts count as empty; the result is a new Text even when every part
// is empty.
//   join_text({"2.9", "\xA1\xAA", "4.3", "\xC3\xD7"}) -> "2.9—4.3米"
//   join_text({"\xA1\xAA", nullptr, "\xC3\xD7"})      -> "—米"
Text join_text(std::initializer_list<Text> parts);

// Gives back a block handed out by allocate_text (through read_text,
// format_number or join_text). An absent Text is ignored.
void release_text(Text text) noexcept;

// Owns one handed-out Text and gives it back on scope exit, so a handler
// that is left early (only possible through the out-of-memory handler in
// tests) still gives back everything it received.
class OwnedText {
 public:
  OwnedText() noexcept = default;
  explicit OwnedText(Text text) noexcept : text_(text) {}
  OwnedText(OwnedText&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  OwnedText& operator=(OwnedText&& other) noexcept {
    if (this != &other) {
      release_text(text_);
      text_ = std::exchange(other.text_, nullptr);
    }
    return *this;
  }
  OwnedText(const OwnedText&) = delete;
  OwnedText& operator=(const OwnedText&) = delete;
  ~OwnedText() { release_text(text_); }

  // The Text, or nullptr when absent.
  Text get() const noexcept { return text_; }
  // The Text, with the empty text standing in for an absent one.
  Text or_empty() const noexcept { return text_ != nullptr ? text_ : texts::kEmpty; }
  // Gives the Text back now instead of at scope exit.
  void reset() noexcept { release_text(std::exchange(text_, nullptr)); }

 private:
  Text text_ = nullptr;
};

// Where handed-out blocks come from. Replaceable so that tests can count
// blocks, catch double releases and make allocation fail.
struct TextAllocator {
  void* (*allocate)(std::size_t bytes);  // null when memory runs out
  void (*release)(void* block);
};
// Installs `allocator` and returns the one it replaces.
TextAllocator set_text_allocator(TextAllocator allocator) noexcept;

// Called when a block cannot be obtained. The program's handler tells the
// user and ends the process; it must not return (if it does, the process is
// aborted). Tests install one that throws.
using OutOfMemoryHandler = void (*)();
// Installs `handler` and returns the one it replaces.
OutOfMemoryHandler set_out_of_memory_handler(OutOfMemoryHandler handler) noexcept;

}  // namespace kalvoro
