#include "core/model/quoted_text.h"

namespace quon {

std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string out = "\"";
  for (const char c : text.substr(0, kShown)) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(byte < 0x20 ? '?' : c);
  }
  if (text.size() > kShown) out += "...";
  return out + "\"";
}

}  // namespace quon
