// The readers of number_text.h. A decimal is scanned by hand, copied into a canonical
// buffer (digits, point, "e", exponent) and converted by std::from_chars, which rounds
// correctly; beyond its range, the significant digits and the decimal exponent of the first
// one decide between zero, the largest double and out of range. Linear in the length of
// the text; nothing allocates but the canonical copy.
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "engine/number_text.h"

namespace quon {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The significant digits of the largest double's text form, whose first digit has the
// decimal exponent 308.
constexpr std::string_view kLargestDigits = "179769313486232";
constexpr long kLargestExponent = 308;

// The magnitude of a decimal that from_chars finds out of range: 0 below the smallest
// subnormal, the largest double up to its text form, infinity above. `digits` are the
// mantissa's digits without the point; `leading` the decimal exponent of the first
// non-zero one.
double OutOfRangeMagnitude(std::string_view digits, long leading) {
  if (leading < 0) return 0.0;
  if (leading > kLargestExponent) return std::numeric_limits<double>::infinity();
  const std::size_t first = digits.find_first_not_of('0');
  std::string_view significant = digits.substr(first);
  while (significant.size() > 1 && significant.back() == '0') significant.remove_suffix(1);
  // Equal leading exponents: the digit strings compare as the numbers do.
  return significant <= kLargestDigits ? std::numeric_limits<double>::max()
                                       : std::numeric_limits<double>::infinity();
}

int RadixDigit(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text, bool lineEnds) {
  const auto blank = [lineEnds](char c) {
    return IsBlank(c) || (lineEnds && (c == '\r' || c == '\n'));
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

DecimalReading ReadDecimal(std::string_view text, DecimalSyntax syntax) {
  std::size_t i = 0;
  bool negative = false;
  if (syntax.sign && i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string canonical;  // digits and at most one point, then "e" and the exponent
  std::string digits;     // the digits alone
  std::size_t integerDigits = 0;
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      digits.push_back(text[i]);
      if (!seenPoint) ++integerDigits;
    } else if (text[i] == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
    canonical.push_back(text[i]);
  }
  if (digits.empty()) return {};
  // The exponent counts only with a digit after the letter and its sign. Its value
  // saturates far beyond any double's range, so that no digit string overflows.
  long exponent = 0;
  if (i < text.size()) {
    const char letter = text[i];
    const bool isLetter =
        letter == 'E' || letter == 'e' || (syntax.exponentD && (letter == 'D' || letter == 'd'));
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (isLetter && j < text.size() && (text[j] == '+' || text[j] == '-')) {
      negativeExponent = text[j] == '-';
      ++j;
    }
    if (isLetter && j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }
  DecimalReading reading;
  reading.length = i;
  const std::size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) {
    reading.value = negative ? -0.0 : 0.0;
    return reading;
  }
  canonical.push_back('e');
  canonical.append(std::to_string(exponent));
  double magnitude = 0.0;
  const auto result =
      std::from_chars(canonical.data(), canonical.data() + canonical.size(), magnitude);
  if (result.ec == std::errc::result_out_of_range) {
    const long leading =
        exponent + static_cast<long>(integerDigits) - static_cast<long>(firstNonZero) - 1;
    magnitude = OutOfRangeMagnitude(digits, leading);
    reading.tooLarge = std::isinf(magnitude);
  }
  reading.value = negative ? -magnitude : magnitude;
  return reading;
}

RadixReading ReadRadix(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') return {};
  const char marker = text[1];
  const int base = (marker == 'H' || marker == 'h') ? 16 : (marker == 'O' || marker == 'o') ? 8 : 0;
  if (base == 0) return {};
  std::size_t i = 2;
  uint64_t value = 0;
  RadixReading reading;
  for (; i < text.size(); ++i) {
    const int digit = RadixDigit(text[i], base);
    if (digit < 0) break;
    const uint64_t next = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (next > 0xFFFFFFFFu) {
      reading.wider32 = true;
      break;
    }
    value = next;
  }
  if (i == 2) return {};
  const bool suffix = !reading.wider32 && i < text.size() && text[i] == '&';
  reading.length = suffix ? i + 1 : i;
  if (value <= 0xFFFFu && !suffix) {
    reading.value = static_cast<int16_t>(static_cast<uint16_t>(value));
  } else {
    reading.value = static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  return reading;
}

double LeadingNumber(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (const char c : text) {
    if (!IsBlank(c) && c != '\n') s.push_back(c);
  }
  if (const RadixReading radix = ReadRadix(s); radix.length > 0) return radix.value;
  return ReadDecimal(s, DecimalSyntax{}).value;
}

bool IsNumber(std::string_view text) {
  const std::string_view s = Trimmed(text, false);
  const DecimalReading reading = ReadDecimal(s, DecimalSyntax{true, false});
  return reading.length > 0 && reading.length == s.size() && !reading.tooLarge;
}

std::optional<DecimalReading> ReadNumericText(std::string_view text) {
  const std::string_view s = Trimmed(text, true);
  if (const RadixReading radix = ReadRadix(s); radix.length > 0) {
    if (radix.length != s.size()) return std::nullopt;
    return DecimalReading{radix.length, static_cast<double>(radix.value), false};
  }
  const DecimalReading reading = ReadDecimal(s, DecimalSyntax{});
  if (reading.length == 0 || reading.length != s.size()) return std::nullopt;
  return reading;
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
