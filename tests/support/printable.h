// Printable form of a test input for failure messages: ASCII as it is,
// other bytes as \xNN, cut after `limit` characters of output.
#pragma once

#include <string>
#include <string_view>

namespace kalvoro::testing {

inline std::string printable(std::string_view text, std::size_t limit = 120) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char raw : text) {
    const auto c = static_cast<unsigned char>(raw);
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\x";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  if (out.size() <= limit) return out;
  return out.substr(0, limit) + "...(" + std::to_string(text.size()) + " bytes)";
}

}  // namespace kalvoro::testing
