#include "calc/text.h"

#include <cstdlib>
#include <cstring>

namespace kalvoro {

namespace {

void* system_allocate(std::size_t bytes) { return std::malloc(bytes); }
void system_release(void* block) { std::free(block); }

TextAllocator g_allocator{&system_allocate, &system_release};
OutOfMemoryHandler g_out_of_memory = nullptr;

[[noreturn]] void out_of_memory() {
  if (g_out_of_memory != nullptr) g_out_of_memory();
  // A handler that comes back leaves no sound way on.
  std::abort();
}

}  // namespace

std::size_t text_length(Text text) noexcept { return text != nullptr ? std::strlen(text) : 0; }

char* allocate_text(std::size_t length) {
  // length + 1 cannot wrap for any length a caller can hold in memory, but a
  // request that would is treated as what it is: memory that cannot be had.
  void* block = length < static_cast<std::size_t>(-1) ? g_allocator.allocate(length + 1) : nullptr;
  if (block == nullptr) out_of_memory();
  char* bytes = static_cast<char*>(block);
  bytes[length] = '\0';
  return bytes;
}

Text join_text(std::initializer_list<Text> parts) {
  // Step 1: the length of every part; absent parts count as empty.
  std::size_t total = 0;
  for (Text part : parts) total += text_length(part);
  // Step 2: one block of the sum plus the NUL.
  char* joined = allocate_text(total);
  // Step 3: the parts one after another, without their NULs.
  char* out = joined;
  for (Text part : parts) {
    const std::size_t n = text_length(part);
    if (n != 0) std::memcpy(out, part, n);
    out += n;
  }
  return joined;
}

void release_text(Text text) noexcept {
  if (text != nullptr) g_allocator.release(const_cast<char*>(text));
}

TextAllocator set_text_allocator(TextAllocator allocator) noexcept {
  const TextAllocator previous = g_allocator;
  g_allocator = allocator;
  return previous;
}

OutOfMemoryHandler set_out_of_memory_handler(OutOfMemoryHandler handler) noexcept {
  const OutOfMemoryHandler previous = g_out_of_memory;
  g_out_of_memory = handler;
  return previous;
}

}  // namespace kalvoro
