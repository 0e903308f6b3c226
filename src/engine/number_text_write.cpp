// The writers of number_text.h: one digit layout behind the text form, the print form, the
// allocation-free print form of the specification files and the Single text form.
//
// The value is scaled to a 15-digit integer in extended precision (64-bit mantissa), which
// decides the rounding to 15 digits correctly whenever the scaled value lies farther than
// 1E-04 from a rounding boundary; nearer (about one value in five thousand), and where
// extended precision is not available, std::to_chars in scientific notation with 14
// digits after the point decides exactly (correct rounding to nearest, ties to even on the
// exact binary value, carries such as 9.99...95 -> 1E+n resolved). Cost: a few
// multiplications and the digit layout, about 30 ns.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "engine/number_text.h"

namespace quon {
namespace {

constexpr int kDigits = 15;
constexpr uint64_t kLowest15 = 100000000000000ULL;  // 1E+14
constexpr uint64_t kAbove15 = 1000000000000000ULL;  // 1E+15
constexpr bool kExtended = std::numeric_limits<long double>::digits >= 64;

// Powers of ten 10^k for k in -kPowerBias .. kPowerBias, in extended precision.
constexpr int kPowerBias = 350;
const std::array<long double, 2 * kPowerBias + 1>& PowersOfTen() {
  static const auto table = [] {
    std::array<long double, 2 * kPowerBias + 1> powers{};
    for (int k = -kPowerBias; k <= kPowerBias; ++k) {
      powers[static_cast<std::size_t>(k + kPowerBias)] =
          std::pow(10.0L, static_cast<long double>(k));
    }
    return powers;
  }();
  return table;
}

// The magnitude rounded to 15 significant digits: `digits` in [1E+14, 1E+15) and the
// decimal exponent of the first digit.
struct Rounded {
  uint64_t digits = 0;
  int exponent = 0;
};

Rounded ExactRounding(double magnitude) {
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kDigits - 1);
  Rounded r;
  const char* p = buffer;
  for (; p < result.ptr && *p != 'e'; ++p) {
    if (*p != '.') r.digits = r.digits * 10 + static_cast<uint64_t>(*p - '0');
  }
  ++p;  // 'e'
  const bool negative = *p == '-';
  ++p;
  int exponent = 0;
  for (; p < result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  r.exponent = negative ? -exponent : exponent;
  return r;
}

Rounded RoundTo15Digits(double magnitude) {
  if constexpr (kExtended) {
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    // Decimal exponent of the first digit, possibly one too low.
    int exponent = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
    const auto& powers = PowersOfTen();
    for (int attempt = 0; attempt < 2; ++attempt) {
      const int scale = kDigits - 1 - exponent;
      if (scale < -kPowerBias || scale > kPowerBias) break;
      const long double scaled = static_cast<long double>(magnitude) *
                                 powers[static_cast<std::size_t>(scale + kPowerBias)];
      const long double whole = std::floor(scaled);
      const long double fraction = scaled - whole;
      if (std::fabs(fraction - 0.5L) < 1e-4L) break;  // too close to call
      uint64_t digits = static_cast<uint64_t>(whole) + (fraction > 0.5L ? 1 : 0);
      if (digits >= kAbove15 * 10) break;
      if (digits >= kAbove15) {
        if (whole >= static_cast<long double>(kAbove15)) {
          ++exponent;  // the estimate was one too low: scale again
          continue;
        }
        return {kLowest15, exponent + 1};  // 999999999999999.5 and above round up
      }
      if (digits < kLowest15) break;
      return {digits, exponent};
    }
  }
  return ExactRounding(magnitude);
}

char* WriteUnsigned(char* out, uint64_t value) { return std::to_chars(out, out + 20, value).ptr; }

// The layout of a number's significant `digits` (count of them, no trailing zeros) whose
// first digit has the decimal exponent `exponent`: plain when that exponent lies in
// -4..maxPlain, else exponent form; `print` selects the print form (a blank for the sign
// of a value that is not negative, no "0" before the point).
char* WriteDigits(char* out, bool negative, const char* digits, int count, int exponent,
                  int maxPlain, bool print) {
  if (negative) {
    *out++ = '-';
  } else if (print) {
    *out++ = ' ';
  }
  if (exponent >= -4 && exponent <= maxPlain) {
    if (exponent >= 0) {
      const int integerDigits = exponent + 1;
      for (int i = 0; i < integerDigits; ++i) *out++ = i < count ? digits[i] : '0';
      if (count > integerDigits) {
        *out++ = '.';
        for (int i = integerDigits; i < count; ++i) *out++ = digits[i];
      }
    } else {
      if (!print) *out++ = '0';
      *out++ = '.';
      for (int i = 0; i < -exponent - 1; ++i) *out++ = '0';
      for (int i = 0; i < count; ++i) *out++ = digits[i];
    }
    return out;
  }
  *out++ = digits[0];
  if (count > 1) {
    *out++ = '.';
    for (int i = 1; i < count; ++i) *out++ = digits[i];
  }
  *out++ = 'E';
  *out++ = exponent < 0 ? '-' : '+';
  const int absExponent = exponent < 0 ? -exponent : exponent;
  if (absExponent < 10) *out++ = '0';
  return WriteUnsigned(out, static_cast<uint64_t>(absExponent));
}

char* WriteFinite(char* out, double value, bool print) {
  if (value == 0.0) return WriteDigits(out, false, "0", 1, 0, 0, print);
  Rounded r = RoundTo15Digits(std::fabs(value));
  char digits[kDigits];
  int count = kDigits;
  for (int i = kDigits - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + r.digits % 10);
    r.digits /= 10;
  }
  while (count > 1 && digits[count - 1] == '0') --count;
  return WriteDigits(out, value < 0, digits, count, r.exponent, kDigits - 1, print);
}

char* WriteSpecial(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* WriteForm(char* out, double value, bool print) {
  if (std::isnan(value)) return WriteSpecial(out, print ? " NaN" : "NaN");
  if (std::isinf(value)) {
    return WriteSpecial(out, value < 0 ? "-Infinity" : print ? " Infinity" : "Infinity");
  }
  return WriteFinite(out, value, print);
}

}  // namespace

char* PrintFormTo(char* out, double value) { return WriteForm(out, value, true); }

void AppendTextForm(double value, std::string& out) {
  char buffer[PrintFormMaxChars];
  out.append(buffer, WriteForm(buffer, value, false));
}

void AppendSingleTextForm(float value, std::string& out) {
  constexpr int kSingleDigits = 7;
  if (!std::isfinite(value)) return AppendTextForm(value, out);
  char buffer[PrintFormMaxChars];
  if (value == 0.0f) {
    out.append(buffer, WriteDigits(buffer, false, "0", 1, 0, 0, false));
    return;
  }
  // "d.dddddde+XX": to_chars rounds the float's exact value to nearest, ties to even.
  char scientific[24];
  const auto result = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(value),
                                    std::chars_format::scientific, kSingleDigits - 1);
  char digits[kSingleDigits];
  int count = 0;
  const char* p = scientific;
  for (; p < result.ptr && *p != 'e'; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  while (count > 1 && digits[count - 1] == '0') --count;
  int exponent = 0;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
  out.append(buffer,
             WriteDigits(buffer, value < 0, digits, count, exponent, kSingleDigits - 1, false));
}

std::string TextForm(double value) {
  char buffer[PrintFormMaxChars];
  return std::string(buffer, WriteForm(buffer, value, false));
}

std::string PrintForm(double value) {
  char buffer[PrintFormMaxChars];
  return std::string(buffer, WriteForm(buffer, value, true));
}

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
