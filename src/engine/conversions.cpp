#include "conversions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quon::script {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The decimal exponent of the first significant digit of a mantissa written with digits
// and at most one point, or a large negative number when every digit is 0.
long LeadingDigitExponent(std::string_view mantissa) {
  size_t point = mantissa.find('.');
  if (point == std::string_view::npos) point = mantissa.size();
  for (size_t i = 0; i < mantissa.size(); ++i) {
    if (IsDigit(mantissa[i]) && mantissa[i] != '0') {
      return i < point ? static_cast<long>(point - i - 1) : -static_cast<long>(i - point);
    }
  }
  return std::numeric_limits<long>::min() / 2;
}

enum class Reading { Number, NotANumber, TooLarge };

// Reads digits with at most one point and an optional exponent (E, or D when allowD)
// filling the whole text. from_chars sees the text with D replaced by E.
Reading ReadDecimal(std::string_view text, bool allowD, double& value) {
  size_t i = 0;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return Reading::NotANumber;
  const size_t mantissaEnd = i;
  long exponent = 0;
  if (i < text.size()) {
    const char marker = Lower(text[i]);
    if (marker != 'e' && !(allowD && marker == 'd')) return Reading::NotANumber;
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size()) return Reading::NotANumber;
    for (; i < text.size(); ++i) {
      if (!IsDigit(text[i])) return Reading::NotANumber;
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  // from_chars knows only E: a D exponent is read from a copy with the marker replaced.
  std::string copy;
  const char* data = text.data();
  if (mantissaEnd < text.size() && Lower(text[mantissaEnd]) == 'd') {
    copy.assign(text);
    copy[mantissaEnd] = 'e';
    data = copy.data();
  }
  const char* last = data + text.size();
  const auto [end, ec] = std::from_chars(data, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too small to represent reads as 0; too large is no number of the language.
    if (LeadingDigitExponent(text.substr(0, mantissaEnd)) + exponent < 0) {
      value = 0.0;
      return Reading::Number;
    }
    return Reading::TooLarge;
  }
  const bool whole = ec == std::errc() && end == last;
  return whole && std::isfinite(value) ? Reading::Number : Reading::NotANumber;
}

}  // namespace

bool RadixLiteral(std::string_view digits, int base, Variant& value) {
  if (digits.empty()) return false;
  uint64_t accumulated = 0;
  for (char c : digits) {
    int digit = -1;
    if (IsDigit(c)) {
      digit = c - '0';
    } else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f') {
      digit = Lower(c) - 'a' + 10;
    }
    if (digit < 0 || digit >= base) return false;
    accumulated = accumulated * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (accumulated > 0xFFFFFFFFu) return false;
  }
  if (accumulated <= 0xFFFFu) {
    value = Variant::Integer(static_cast<int16_t>(static_cast<uint16_t>(accumulated)));
  } else {
    value = Variant::Long(static_cast<int32_t>(static_cast<uint32_t>(accumulated)));
  }
  return true;
}

bool DecimalLiteral(std::string_view text, Variant& value) {
  bool whole = !text.empty();
  for (char c : text) whole = whole && IsDigit(c);
  if (whole) {
    uint64_t accumulated = 0;
    for (char c : text) {
      accumulated = accumulated * 10 + static_cast<uint64_t>(c - '0');
      if (accumulated > 0x7FFFFFFFu) break;
    }
    if (accumulated <= 32767) {
      value = Variant::Integer(static_cast<int16_t>(accumulated));
      return true;
    }
    if (accumulated <= 0x7FFFFFFFu) {
      value = Variant::Long(static_cast<int32_t>(accumulated));
      return true;
    }
  }
  double number = 0.0;
  if (ReadDecimal(text, false, number) != Reading::Number) return false;
  value = Variant::Double(number);
  return true;
}

ErrNum ParseNumericText(std::string_view text, double& value) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.size() > 2 && text[0] == '&' && (Lower(text[1]) == 'h' || Lower(text[1]) == 'o')) {
    Variant radix;
    if (!RadixLiteral(text.substr(2), Lower(text[1]) == 'h' ? 16 : 8, radix)) {
      return ErrNum::TypeMismatch;
    }
    value = radix.number();
    return ErrNum::None;
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  switch (ReadDecimal(text, true, value)) {
    case Reading::Number:
      break;
    case Reading::TooLarge:
      return ErrNum::Overflow;
    case Reading::NotANumber:
      return ErrNum::TypeMismatch;
  }
  if (negative) value = -value;
  return ErrNum::None;
}

void AppendNumberText(double value, std::string& out) {
  if (value == 0.0) {
    out += '0';
    return;
  }
  // 15 significant digits in scientific form: d.dddddddddddddde[+-]xx
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string_view scientific(buffer, static_cast<size_t>(result.ptr - buffer));
  if (scientific.front() == '-') {
    out += '-';
    scientific.remove_prefix(1);
  }
  const size_t e = scientific.find('e');
  int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
  std::string digits;
  digits += scientific[0];
  digits += scientific.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  if (exponent >= -4 && exponent <= 14) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out += digits;
    } else if (static_cast<size_t>(exponent) + 1 >= digits.size()) {
      out += digits;
      out.append(static_cast<size_t>(exponent) + 1 - digits.size(), '0');
    } else {
      out.append(digits, 0, static_cast<size_t>(exponent) + 1);
      out += '.';
      out.append(digits, static_cast<size_t>(exponent) + 1);
    }
    return;
  }
  out += digits[0];
  if (digits.size() > 1) {
    out += '.';
    out.append(digits, 1);
  }
  out += exponent < 0 ? "E-" : "E+";
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) out += '0';
  out += std::to_string(magnitude);
}

void AppendText(const Variant& value, std::string& out) {
  switch (value.kind()) {
    case Kind::Boolean:
      out += value.integer() != 0 ? "True" : "False";
      return;
    case Kind::Integer:
    case Kind::Long:
      out += std::to_string(value.integer());
      return;
    case Kind::Double:
      AppendNumberText(value.number(), out);
      return;
    case Kind::String:
      out += value.text();
      return;
    case Kind::Empty:
    case Kind::Null:
      return;
  }
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

ErrNum ToBoolean(const Variant& value, bool& result) {
  if (value.Is(Kind::String)) {
    std::string_view text = value.text();
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (EqualsIgnoringCase(text, "true") || EqualsIgnoringCase(text, "false")) {
      result = EqualsIgnoringCase(text, "true");
      return ErrNum::None;
    }
  }
  double number = 0.0;
  if (ErrNum err = ToDouble(value, number); err != ErrNum::None) return err;
  result = number != 0.0;
  return ErrNum::None;
}

}  // namespace quon::script
