// Fuzz target of the number reader and writers. Besides memory errors and undefined
// behaviour it checks the properties the rest of the program relies on: reading never
// gives NaN; a text the entry check accepts reads as a finite number; the text form of any
// finite value passes the entry check and reads back to a value with the same text form;
// the print form reads back like the text form; the rounding to 32 bits agrees with the
// value's range.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/number_text.h"

namespace {

void CheckValue(double value) {
  const std::string text = quon::TextForm(value);
  const std::string print = quon::PrintForm(value);
  if (text.size() > 24 || print.size() > 24) __builtin_trap();
  const std::optional<int32_t> rounded = quon::RoundHalfEvenToInt32(value);
  if (rounded && std::fabs(static_cast<double>(*rounded) - value) > 0.5) __builtin_trap();
  if (!std::isfinite(value)) return;
  if (!quon::IsNumber(text)) __builtin_trap();
  const double back = quon::LeadingNumber(text);
  if (quon::TextForm(back) != text) __builtin_trap();
  if (quon::LeadingNumber(print) != back) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = quon::LeadingNumber(text);
  if (std::isnan(value)) __builtin_trap();
  if (quon::IsNumber(text) && !std::isfinite(value)) __builtin_trap();
  CheckValue(value);
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    CheckValue(raw);
  }
  return 0;
}
