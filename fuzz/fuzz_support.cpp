#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "calc/fp_environment.h"

namespace kalvoro::fuzz {

namespace {

const std::uint8_t* g_data = nullptr;
std::size_t g_size = 0;

std::unordered_set<void*>& live_blocks() {
  static std::unordered_set<void*> blocks;
  return blocks;
}
std::size_t g_handed_out = 0;

void* counted_allocate(std::size_t bytes) {
  void* block = std::malloc(bytes);
  if (block != nullptr) {
    live_blocks().insert(block);
    ++g_handed_out;
  }
  return block;
}

void counted_release(void* block) {
  FUZZ_CHECK(live_blocks().erase(block) == 1, "release of a block that is not handed out");
  std::free(block);
}

void out_of_memory() { fail(__FILE__, __LINE__, "out of memory", "a text allocation failed"); }

void install_once() {
  static const bool installed = [] {
    set_evaluation_environment();
    set_text_allocator({&counted_allocate, &counted_release});
    set_out_of_memory_handler(&out_of_memory);
    return true;
  }();
  (void)installed;
}

std::size_t read_long_text_bytes() {
  const char* setting = std::getenv("KALVORO_FUZZ_LONG_TEXT");
  if (setting == nullptr || *setting == '\0') return std::size_t{1} << 20;
  const unsigned long long bytes = std::strtoull(setting, nullptr, 10);
  return bytes > 0 ? static_cast<std::size_t>(bytes) : 1;
}

}  // namespace

std::size_t long_text_bytes() {
  static const std::size_t bytes = read_long_text_bytes();
  return bytes;
}

void fail(const char* file, int line, const char* check, const std::string& detail) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n  long texts: %zu bytes\n", file, line,
               check, detail.c_str(), long_text_bytes());
  if (g_data != nullptr) {
    const std::size_t shown = g_size < 256 ? g_size : 256;
    std::fprintf(stderr, "  input (%zu bytes%s): %s\n", g_size, shown < g_size ? ", first 256" : "",
                 hex({reinterpret_cast<const char*>(g_data), shown}).c_str());
  }
  std::abort();
}

CurrentInput::CurrentInput(const std::uint8_t* data, std::size_t size) {
  install_once();
  g_data = data;
  g_size = size;
}

CurrentInput::~CurrentInput() {
  g_data = nullptr;
  g_size = 0;
}

std::size_t live_texts() { return live_blocks().size(); }
std::size_t texts_handed_out() { return g_handed_out; }
bool is_live_text(Text text) { return live_blocks().count(const_cast<char*>(text)) == 1; }

std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string bits_of(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char text[64];
  std::snprintf(text, sizeof text, "%016llx (%.17g)", static_cast<unsigned long long>(bits), value);
  return text;
}

std::string bits_of(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char text[64];
  std::snprintf(text, sizeof text, "%08x (%.9g)", bits, static_cast<double>(value));
  return text;
}

}  // namespace kalvoro::fuzz
