#include "model/print_form_to.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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

}  // namespace

char* PrintFormTo(char* out, double value) {
  if (std::isnan(value)) {
    std::memcpy(out, " NaN", 4);
    return out + 4;
  }
  if (std::isinf(value)) {
    std::memcpy(out, value < 0 ? "-Infinity" : " Infinity", 9);
    return out + 9;
  }
  *out++ = value < 0 ? '-' : ' ';
  if (value == 0.0) {
    *out++ = '0';
    return out;
  }
  Rounded r = RoundTo15Digits(std::fabs(value));
  // The significant digits without trailing zeros.
  char digits[kDigits];
  int count = kDigits;
  for (int i = kDigits - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + r.digits % 10);
    r.digits /= 10;
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  if (r.exponent >= -4 && r.exponent <= 14) {
    if (r.exponent >= 0) {
      const int integerDigits = r.exponent + 1;
      for (int i = 0; i < integerDigits; ++i) *out++ = i < count ? digits[i] : '0';
      if (count > integerDigits) {
        *out++ = '.';
        for (int i = integerDigits; i < count; ++i) *out++ = digits[i];
      }
    } else {
      *out++ = '.';
      for (int i = 0; i < -r.exponent - 1; ++i) *out++ = '0';
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
  *out++ = r.exponent < 0 ? '-' : '+';
  const int absExponent = r.exponent < 0 ? -r.exponent : r.exponent;
  if (absExponent < 10) *out++ = '0';
  return WriteUnsigned(out, static_cast<uint64_t>(absExponent));
}

}  // namespace quon
