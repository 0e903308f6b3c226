#include "export/number_text.h"

#include <array>
#include <charconv>

namespace quon {

std::string RoundTripText(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string SeventeenDigits(double value) {
  std::array<char, 40> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific, 16);
  return std::string(buffer.data(), result.ptr);
}

}  // namespace quon
