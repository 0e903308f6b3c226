#include "engine/conversions.h"

#include <cmath>
#include <limits>
#include <optional>

#include "engine/currency.h"
#include "engine/number_text.h"

namespace quon::script {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

Variant SmallestWhole(int32_t value) {
  if (value >= -32768 && value <= 32767) return Variant::Integer(static_cast<int16_t>(value));
  return Variant::Long(value);
}

bool DecimalLiteral(std::string_view text, Variant& value) {
  const DecimalReading reading = ReadDecimal(text, DecimalSyntax{false, false});
  if (reading.length == 0 || reading.length != text.size() || reading.tooLarge) return false;
  const bool whole = text.find_first_not_of("0123456789") == std::string_view::npos;
  if (whole && reading.value <= 2147483647.0) {
    value = SmallestWhole(static_cast<int32_t>(reading.value));
  } else {
    value = Variant::Double(reading.value);
  }
  return true;
}

ErrNum ParseNumericText(std::string_view text, double& value) {
  const std::optional<DecimalReading> reading = ReadNumericText(text);
  if (!reading) return ErrNum::TypeMismatch;
  if (reading->tooLarge) return ErrNum::Overflow;
  value = reading->value;
  return ErrNum::None;
}

void AppendText(const Variant& value, std::string& out) {
  switch (value.kind()) {
    case Kind::Boolean:
      out += value.integer() != 0 ? "True" : "False";
      return;
    case Kind::Byte:
    case Kind::Integer:
    case Kind::Long:
      out += std::to_string(value.integer());
      return;
    case Kind::Single:
      AppendSingleTextForm(static_cast<float>(value.number()), out);
      return;
    case Kind::Currency:
      currency::AppendText(value.currency(), out);
      return;
    case Kind::Double:
      AppendTextForm(value.number(), out);
      return;
    case Kind::String:
      out += value.text();
      return;
    case Kind::Empty:
    case Kind::Null:
      return;
  }
}

const std::string& TextOf(const Variant& value, std::string& buffer) {
  if (value.Is(Kind::String)) return value.text();
  buffer.clear();
  AppendText(value, buffer);
  return buffer;
}

ErrNum RoundToRange(double value, double low, double high, int32_t& result) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= low && rounded <= high)) return ErrNum::Overflow;
  result = static_cast<int32_t>(rounded);
  return ErrNum::None;
}

ErrNum ToDouble(const Variant& value, double& result) {
  if (value.IsNumeric()) {
    result = value.number();
    return ErrNum::None;
  }
  if (value.Is(Kind::Null)) return ErrNum::InvalidUseOfNull;
  return ParseNumericText(value.text(), result);
}

ErrNum ToLong(const Variant& value, int32_t& result) {
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  return RoundToRange(number, -2147483648.0, 2147483647.0, result);
}

ErrNum ToInteger(const Variant& value, int16_t& result) {
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  int32_t rounded = 0;
  if (ErrNum err = RoundToRange(number, -32768.0, 32767.0, rounded); err != ErrNum::None) {
    return err;
  }
  result = static_cast<int16_t>(rounded);
  return ErrNum::None;
}

ErrNum ToByte(const Variant& value, uint8_t& result) {
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  int32_t rounded = 0;
  if (ErrNum err = RoundToRange(number, 0.0, 255.0, rounded); err != ErrNum::None) return err;
  result = static_cast<uint8_t>(rounded);
  return ErrNum::None;
}

ErrNum ToSingle(const Variant& value, float& result) {
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  if (std::fabs(number) > std::numeric_limits<float>::max()) return ErrNum::Overflow;
  result = static_cast<float>(number);
  return ErrNum::None;
}

ErrNum ToCurrency(const Variant& value, int64_t& count) {
  if (value.Is(Kind::Currency)) {
    count = value.currency();
    return ErrNum::None;
  }
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  return currency::FromDouble(number, count);
}

Variant SingleOrWider(double result) {
  if (std::fabs(result) <= std::numeric_limits<float>::max()) {
    return Variant::Single(static_cast<float>(result));
  }
  return Variant::Double(result);
}

ErrNum ToBoolean(const Variant& value, bool& result) {
  if (value.Is(Kind::String)) {
    std::string_view text = value.text();
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    // "#TRUE#" and "#FALSE#" are how files of the language write Booleans.
    if (EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "#true#")) {
      result = true;
      return ErrNum::None;
    }
    if (EqualsIgnoringCase(text, "false") || EqualsIgnoringCase(text, "#false#")) {
      result = false;
      return ErrNum::None;
    }
  }
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  result = number != 0.0;
  return ErrNum::None;
}

}  // namespace quon::script
