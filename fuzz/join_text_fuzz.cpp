// join_text on up to eight parts cut from the input at each NUL. A part that
// is the single byte 01 is absent (nullptr); a part that is the single byte
// 02 stands for a long text (1 MiB unless KALVORO_FUZZ_LONG_TEXT says else). Checks: the result is
// a new block holding the parts one after another, the parts are unchanged, and giving the result
// back leaves nothing.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "calc/text.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace kalvoro;

constexpr std::size_t kMaxParts = 8;

const std::string& long_text() {
  static const std::string text = [] {
    std::string t;
    while (t.size() < kalvoro::fuzz::long_text_bytes()) t += "12345678\xA3\xB9\xA1\xAA";
    t.resize(kalvoro::fuzz::long_text_bytes());
    return t;
  }();
  return text;
}

Text join_parts(const std::vector<Text>& p) {
  switch (p.size()) {
    case 1:
      return join_text({p[0]});
    case 2:
      return join_text({p[0], p[1]});
    case 3:
      return join_text({p[0], p[1], p[2]});
    case 4:
      return join_text({p[0], p[1], p[2], p[3]});
    case 5:
      return join_text({p[0], p[1], p[2], p[3], p[4]});
    case 6:
      return join_text({p[0], p[1], p[2], p[3], p[4], p[5]});
    case 7:
      return join_text({p[0], p[1], p[2], p[3], p[4], p[5], p[6]});
    default:
      return join_text({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kalvoro::fuzz;
  const CurrentInput current(data, size);

  // The parts as separate exact-size blocks, so that ASan sees any read past
  // a part's NUL.
  std::vector<std::string> bytes;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (bytes.size() < kMaxParts) {
    const std::size_t nul = rest.find('\0');
    bytes.emplace_back(rest.substr(0, nul));
    if (nul == std::string_view::npos) break;
    rest.remove_prefix(nul + 1);
  }
  std::vector<std::unique_ptr<char[]>> blocks;
  std::vector<Text> parts;
  std::string expected;
  for (std::string& part : bytes) {
    if (part == "\x01") {
      parts.push_back(nullptr);
      continue;
    }
    if (part == "\x02") part = long_text();
    blocks.emplace_back(new char[part.size() + 1]);
    std::memcpy(blocks.back().get(), part.c_str(), part.size() + 1);
    parts.push_back(blocks.back().get());
    expected += part;
  }

  Text joined = join_parts(parts);
  FUZZ_CHECK(joined != nullptr && is_live_text(joined), "join_text gave no new block");
  FUZZ_CHECK(live_texts() == 1, "join_text handed out more than its result");
  FUZZ_CHECK(text_length(joined) == expected.size() &&
                 std::memcmp(joined, expected.data(), expected.size() + 1) == 0,
             "joined " + std::to_string(text_length(joined)) + " bytes, expected " +
                 std::to_string(expected.size()));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i] != nullptr)
      FUZZ_CHECK(bytes[i] == parts[i], "part " + std::to_string(i) + " was changed");
  }
  release_text(joined);
  FUZZ_CHECK(live_texts() == 0, "a Text was kept");
  return 0;
}
