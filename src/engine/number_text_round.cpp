#include "engine/number_text_round.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace quon::number_text {
namespace {

constexpr int kDigits = 15;
constexpr uint64_t kLowest15 = 100000000000000ULL;  // 1E+14
constexpr uint64_t kAbove15 = 1000000000000000ULL;  // 1E+15
constexpr bool kExtended = std::numeric_limits<long double>::digits >= 64;
#if defined(__x86_64__) || defined(__i386__)
constexpr bool kX87 = std::numeric_limits<long double>::digits == 64;
#else
constexpr bool kX87 = false;
#endif

// Powers of ten 10^k for k in -kPowerBias .. kPowerBias, in extended precision.
constexpr int kPowerBias = 350;
constexpr std::size_t kPowers = 2 * kPowerBias + 1;
const std::array<long double, kPowers>& PowersOfTen() {
  static const auto table = [] {
    std::array<long double, kPowers> powers{};
    for (int k = -kPowerBias; k <= kPowerBias; ++k) {
      powers[static_cast<std::size_t>(k + kPowerBias)] =
          std::pow(10.0L, static_cast<long double>(k));
    }
    return powers;
  }();
  return table;
}

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

// What the rounding needs of a scaled magnitude: its integer part, 1 when its fraction
// lies above one half (else 0), and whether within 1E-04 of one half (too close to call).
// A number rather than a flag: added as it is, it costs no branch (a branch on a fraction
// is mispredicted every other time).
struct Scaled {
  uint64_t integer = 0;
  uint64_t aboveHalf = 0;
  bool tooClose = true;
};

Scaled ScaleInLongDouble(double magnitude, std::size_t power) {
  const long double scaled = static_cast<long double>(magnitude) * PowersOfTen()[power];
  const long double whole = std::floor(scaled);
  const long double fraction = scaled - whole;
  return {static_cast<uint64_t>(whole), fraction > 0.5L ? 1U : 0U,
          std::fabs(fraction - 0.5L) < 1e-4L};
}

// An x87 extended number as integers: significand * 2^exponent, the top bit set.
struct Extended {
  uint64_t significand = 0;
  int exponent = 0;
};

Extended Split(long double value) {  // normal and above zero
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &value, sizeof value);
  Extended e;
  std::memcpy(&e.significand, bytes, sizeof e.significand);
  uint16_t biased = 0;
  std::memcpy(&biased, bytes + sizeof e.significand, sizeof biased);
  e.exponent = (biased & 0x7fff) - 16383 - 63;
  return e;
}

const std::array<Extended, kPowers>& SplitPowersOfTen() {
  static const auto table = [] {
    std::array<Extended, kPowers> split{};
    for (std::size_t k = 0; k < kPowers; ++k) split[k] = Split(PowersOfTen()[k]);
    return split;
  }();
  return table;
}

// The 128-bit product of a and b as its high and low halves.
void Multiply(uint64_t a, uint64_t b, uint64_t& high, uint64_t& low) {
  const uint64_t aLow = a & 0xffffffffU, aHigh = a >> 32;
  const uint64_t bLow = b & 0xffffffffU, bHigh = b >> 32;
  const uint64_t ll = aLow * bLow, lh = aLow * bHigh, hl = aHigh * bLow;
  const uint64_t middle = (ll >> 32) + (lh & 0xffffffffU) + (hl & 0xffffffffU);
  low = (middle << 32) | (ll & 0xffffffffU);
  high = aHigh * bHigh + (lh >> 32) + (hl >> 32) + (middle >> 32);
}

// ScaleInLongDouble for the x87 format, with integers: the exact product of the double's
// significand (53 bits) and the power's (64) rounded to 64 bits, to nearest, ties to even,
// as the x87 multiplies; then the same floor, fraction and comparisons, exactly.
Scaled ScaleWithIntegers(double magnitude, std::size_t power) {
  const auto bits = std::bit_cast<uint64_t>(magnitude);
  const auto field = static_cast<int>(bits >> 52);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t m = field != 0 ? fraction | (uint64_t{1} << 52) : fraction;
  const Extended p = SplitPowersOfTen()[power];
  uint64_t high = 0, low = 0;
  Multiply(m, p.significand, high, low);
  // The product has 64 (m = 1) to 117 bits; `dropped` low bits go in the rounding.
  const int length = high != 0 ? 128 - std::countl_zero(high) : 64;
  const int dropped = length - 64;
  uint64_t s = low;
  int exponent = (field != 0 ? field - 1075 : -1074) + p.exponent + dropped;
  if (dropped > 0) {
    s = (high << (64 - dropped)) | (low >> dropped);
    const uint64_t rest = low & ((uint64_t{1} << dropped) - 1);
    const uint64_t half = uint64_t{1} << (dropped - 1);
    s += static_cast<uint64_t>(rest > half) | (static_cast<uint64_t>(rest == half) & s & 1);
    if (s == 0) {  // rounded up to the next power of two
      s = uint64_t{1} << 63;
      ++exponent;
    }
  }
  // The scaled value s * 2^exponent has 14 to 16 digits: 9 to 20 bits of fraction.
  const int fractionBits = -exponent;
  if (fractionBits < 1 || fractionBits > 63) return {};
  const uint64_t rest = s & ((uint64_t{1} << fractionBits) - 1);
  const uint64_t half = uint64_t{1} << (fractionBits - 1);
  const uint64_t distance = rest > half ? rest - half : half - rest;
  // distance * 2^exponent < 1E-04L, 1E-04L being t * 2^te.
  static const Extended threshold = Split(1e-4L);
  const int shift = exponent - threshold.exponent;
  if (shift < 0) return {};
  const bool tooClose =
      shift >= 64 ? distance == 0 : distance <= ((threshold.significand - 1) >> shift);
  return {s >> fractionBits, static_cast<uint64_t>(rest > half), tooClose};
}

// The exponent frexp gives a finite magnitude above zero: 2^(e-1) <= magnitude < 2^e.
int BinaryExponent(double magnitude) {
  const auto bits = std::bit_cast<uint64_t>(magnitude);
  const auto field = static_cast<int>(bits >> 52);
  if (field != 0) return field - 1022;
  return static_cast<int>(std::bit_width(bits)) - 1074;  // subnormal
}

template <Scaled (*Scale)(double, std::size_t)>
Rounded RoundBy(double magnitude) {
  if constexpr (kExtended) {
    // Decimal exponent of the first digit, possibly one too low: the floor of a product
    // that never lies near a whole number but at 0.
    const double estimate = (BinaryExponent(magnitude) - 1) * 0.30102999566398120;
    int exponent = static_cast<int>(estimate);
    if (exponent > estimate) --exponent;
    for (int attempt = 0; attempt < 2; ++attempt) {
      const int scale = kDigits - 1 - exponent;
      if (scale < -kPowerBias || scale > kPowerBias) break;
      const Scaled scaled = Scale(magnitude, static_cast<std::size_t>(scale + kPowerBias));
      if (scaled.tooClose) break;
      const uint64_t digits = scaled.integer + scaled.aboveHalf;
      if (digits >= kAbove15 * 10) break;
      if (digits >= kAbove15) {
        if (scaled.integer >= kAbove15) {
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

}  // namespace

Rounded RoundTo15Digits(double magnitude) {
  if constexpr (kX87) return RoundBy<ScaleWithIntegers>(magnitude);
  return RoundBy<ScaleInLongDouble>(magnitude);
}

Rounded RoundTo15DigitsInLongDouble(double magnitude) {
  return RoundBy<ScaleInLongDouble>(magnitude);
}

}  // namespace quon::number_text
