// Text form, print form and the leading-number reader.
//
// Writing rests on std::to_chars in scientific notation with 14 digits after the point:
// that yields the value correctly rounded (to nearest, ties to even on the exact binary
// value) to 15 significant digits together with the decimal exponent of the rounded value,
// so a carry such as 9.999...95 -> 1E+n is already resolved. The digits are then laid out
// in plain or exponent form by hand. Reading rests on std::from_chars after the accepted
// prefix has been copied into a canonical buffer. Neither consults the locale, and both
// cost O(length of the text).
//
// Hexadecimal and octal integers ("&H" / "&O", letters and digits in either case) follow
// the expression language's integer literals: a value up to 16 bits wide is a 16-bit two's
// complement integer (&HFFFF is -1, &H8000 is -32768), a wider one up to 32 bits a 32-bit
// two's complement integer (&HFFFFFFFF is -1, &H10000 is 65536). Leading zeros do not
// count. No sign may precede "&". Reading stops before a digit that would make the value
// wider than 32 bits, as it stops at any other character that cannot continue the number.
#include "model/number_forms.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace quon {
namespace {

constexpr int kSignificantDigits = 15;

// The value rounded to 15 significant digits: the digits without trailing zeros (at least
// one) and the decimal exponent of the first digit.
struct Rounded {
  std::string digits;
  int exponent = 0;
};

Rounded RoundTo15Digits(double magnitude) {
  // "d.dddddddddddddde+XXX" needs at most 22 characters.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  Rounded rounded;
  for (std::size_t i = 0; i < e; ++i) {
    if (text[i] != '.') rounded.digits.push_back(text[i]);
  }
  while (rounded.digits.size() > 1 && rounded.digits.back() == '0') rounded.digits.pop_back();
  int exponent = 0;
  std::size_t i = e + 1;
  const bool negativeExponent = text[i] == '-';
  ++i;  // to_chars always writes the exponent's sign
  for (; i < text.size(); ++i) exponent = exponent * 10 + (text[i] - '0');
  rounded.exponent = negativeExponent ? -exponent : exponent;
  return rounded;
}

// The magnitude part of the text form: plain between 1E-04 and the 15th power of ten,
// otherwise exponent form. With leadingZero false, "0.5" becomes ".5".
std::string MagnitudeText(double magnitude, bool leadingZero) {
  if (magnitude == 0.0) return "0";
  const Rounded r = RoundTo15Digits(magnitude);
  const int count = static_cast<int>(r.digits.size());
  std::string out;
  if (r.exponent >= -4 && r.exponent <= 14) {
    if (r.exponent >= 0) {
      const int integerDigits = r.exponent + 1;
      for (int i = 0; i < integerDigits; ++i) {
        out.push_back(i < count ? r.digits[static_cast<std::size_t>(i)] : '0');
      }
      if (count > integerDigits) {
        out.push_back('.');
        out.append(r.digits, static_cast<std::size_t>(integerDigits));
      }
    } else {
      if (leadingZero) out.push_back('0');
      out.push_back('.');
      out.append(static_cast<std::size_t>(-r.exponent - 1), '0');
      out.append(r.digits);
    }
    return out;
  }
  out.push_back(r.digits[0]);
  if (count > 1) {
    out.push_back('.');
    out.append(r.digits, 1);
  }
  out.push_back('E');
  out.push_back(r.exponent < 0 ? '-' : '+');
  const int absExponent = r.exponent < 0 ? -r.exponent : r.exponent;
  if (absExponent < 10) out.push_back('0');
  out.append(std::to_string(absExponent));
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsDropped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Value of a hexadecimal (base 16) or octal (base 8) digit, or -1.
int RadixDigit(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  return value < base ? value : -1;
}

double RadixInteger(std::string_view digits, int base) {
  uint64_t value = 0;
  for (const char c : digits) {
    const int d = RadixDigit(c, base);
    if (d < 0) break;
    const uint64_t next = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (next > 0xFFFFFFFFu) break;
    value = next;
  }
  if (value <= 0xFFFFu) {
    return static_cast<double>(value >= 0x8000u ? static_cast<int64_t>(value) - 0x10000
                                                : static_cast<int64_t>(value));
  }
  return static_cast<double>(value >= 0x80000000u ? static_cast<int64_t>(value) - 0x100000000
                                                  : static_cast<int64_t>(value));
}

// The text form of the largest double, 1.79769313486232E+308, lies just above it; so do
// the text forms of the doubles close below it. Such a text reads as the largest double
// rather than as infinity, so that every finite value survives writing and reading.
// mantissa and exponent describe a decimal beyond the range of a double.
bool ReadsAsLargestDouble(const std::string& mantissa, long exponent) {
  const std::string tenth = mantissa + "e" + std::to_string(exponent - 1);
  double value = 0.0;
  const auto result = std::from_chars(tenth.data(), tenth.data() + tenth.size(), value);
  return result.ec == std::errc() && value <= 1.79769313486232e307;
}

// The decimal number at the start of s (blanks already dropped), 0 when there is none.
double DecimalPrefix(std::string_view s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  std::string mantissa;  // digits and at most one point, copied for from_chars
  bool anyDigit = false;
  bool seenPoint = false;
  int firstNonZero = -1;   // position in mantissa of the first non-zero digit
  int pointPosition = -1;  // position in mantissa of the point
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      if (firstNonZero < 0 && s[i] != '0') firstNonZero = static_cast<int>(mantissa.size());
      anyDigit = true;
    } else if (s[i] == '.' && !seenPoint) {
      seenPoint = true;
      pointPosition = static_cast<int>(mantissa.size());
    } else {
      break;
    }
    mantissa.push_back(s[i]);
  }
  if (!anyDigit) return 0.0;

  // Exponent: only when at least one digit follows the letter and its optional sign.
  // Its value saturates far beyond any double's range so that no digit string overflows.
  long exponent = 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      negativeExponent = s[j] == '-';
      ++j;
    }
    if (j < s.size() && IsDigit(s[j])) {
      for (; j < s.size() && IsDigit(s[j]); ++j) {
        if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
      }
      if (negativeExponent) exponent = -exponent;
    }
  }
  if (firstNonZero < 0) return negative ? -0.0 : 0.0;

  std::string canonical = mantissa;
  canonical.push_back('e');
  canonical.append(std::to_string(exponent));
  double value = 0.0;
  const auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: decide by the decimal exponent of the first non-zero
    // digit whether the magnitude is too large (infinity) or too small (zero).
    const int integerEnd = pointPosition < 0 ? static_cast<int>(mantissa.size()) : pointPosition;
    const long leading = exponent + (firstNonZero < integerEnd ? integerEnd - firstNonZero - 1
                                                               : integerEnd - firstNonZero);
    value = leading > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    if (leading > 0 && ReadsAsLargestDouble(mantissa, exponent)) {
      value = std::numeric_limits<double>::max();
    }
  }
  return negative ? -value : value;
}

}  // namespace

std::string TextForm(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  const std::string magnitude = MagnitudeText(std::fabs(value), true);
  return value < 0 ? "-" + magnitude : magnitude;
}

std::string PrintForm(double value) {
  if (std::isnan(value)) return " NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : " Infinity";
  const std::string magnitude = MagnitudeText(std::fabs(value), false);
  return (value < 0 ? "-" : " ") + magnitude;
}

double LeadingNumber(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (const char c : text) {
    if (!IsDropped(c)) s.push_back(c);
  }
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return RadixInteger(std::string_view(s).substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return RadixInteger(std::string_view(s).substr(2), 8);
  }
  return DecimalPrefix(s);
}

bool IsNumber(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  const std::string_view s = text.substr(begin, end - begin);

  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool anyDigit = false;
  bool seenPoint = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      anyDigit = true;
    } else if (s[i] == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i >= s.size() || !IsDigit(s[i])) return false;
    while (i < s.size() && IsDigit(s[i])) ++i;
  }
  if (i != s.size()) return false;
  // A number too large for a double is not a number the program can work with.
  return std::isfinite(LeadingNumber(s));
}

std::optional<int32_t> RoundHalfEvenToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::floor(value);
  const double fraction = value - rounded;  // exact: value and floor(value) are close
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

}  // namespace quon
