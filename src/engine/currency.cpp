#include "engine/currency.h"

#include <cmath>
#include <limits>

#include "engine/variant.h"

namespace quon::script::currency {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
// The first whole number of units beyond the range on either side.
constexpr double kWholeLimit = 922337203685478.0;
// Below this magnitude two counts multiply exactly in 64 bits.
constexpr int64_t kExactFactor = int64_t{1} << 31;

// quotient / divisor rounded half-even, for a positive divisor.
int64_t DivideHalfEven(int64_t quotient, int64_t divisor) {
  int64_t whole = quotient / divisor;
  const int64_t remainder = quotient % divisor;
  const int64_t twice = 2 * (remainder < 0 ? -remainder : remainder);
  if (twice > divisor || (twice == divisor && whole % 2 != 0)) whole += remainder < 0 ? -1 : 1;
  return whole;
}

}  // namespace

ErrNum FromDouble(double value, int64_t& count) {
  // The whole part and the fraction apart: value * 10000 in one double would lose the last
  // counts of values beyond 2^53 counts (about 9E+11).
  if (!(std::fabs(value) < kWholeLimit)) return ErrNum::Overflow;
  const double whole = std::trunc(value);
  // Whole counts are even multiples of 10000, so rounding the fraction's half to even
  // rounds the whole count to even.
  const auto fraction =
      static_cast<int64_t>(std::nearbyint((value - whole) * static_cast<double>(kCurrencyScale)));
  return Add(static_cast<int64_t>(whole) * kCurrencyScale, fraction, count);
}

ErrNum Add(int64_t a, int64_t b, int64_t& result) {
  if ((b > 0 && a > kMax - b) || (b < 0 && a < kMin - b)) return ErrNum::Overflow;
  result = a + b;
  return ErrNum::None;
}

ErrNum Subtract(int64_t a, int64_t b, int64_t& result) {
  if ((b < 0 && a > kMax + b) || (b > 0 && a < kMin + b)) return ErrNum::Overflow;
  result = a - b;
  return ErrNum::None;
}

ErrNum Multiply(int64_t a, int64_t b, int64_t& result) {
  if (a > -kExactFactor && a < kExactFactor && b > -kExactFactor && b < kExactFactor) {
    result = DivideHalfEven(a * b, kCurrencyScale);
    return ErrNum::None;
  }
  const double scale = static_cast<double>(kCurrencyScale);
  return FromDouble((static_cast<double>(a) / scale) * (static_cast<double>(b) / scale), result);
}

ErrNum Negate(int64_t count, int64_t& result) {
  if (count == kMin) return ErrNum::Overflow;
  result = -count;
  return ErrNum::None;
}

ErrNum RoundToDecimals(int64_t count, int32_t decimals, int64_t& result) {
  int64_t unit = 1;
  for (int32_t i = decimals; i < 4; ++i) unit *= 10;
  const int64_t units = DivideHalfEven(count, unit);
  if (units > kMax / unit || units < kMin / unit) return ErrNum::Overflow;
  result = units * unit;
  return ErrNum::None;
}

int64_t Truncate(int64_t count) { return count / kCurrencyScale * kCurrencyScale; }

ErrNum Floor(int64_t count, int64_t& result) {
  int64_t whole = count / kCurrencyScale;
  if (count % kCurrencyScale < 0) --whole;
  if (whole < kMin / kCurrencyScale) return ErrNum::Overflow;
  result = whole * kCurrencyScale;
  return ErrNum::None;
}

void AppendText(int64_t count, std::string& out) {
  // The magnitude in unsigned arithmetic, so that the most negative count has one too.
  const uint64_t magnitude =
      count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
  if (count < 0) out += '-';
  const uint64_t scale = static_cast<uint64_t>(kCurrencyScale);
  out += std::to_string(magnitude / scale);
  uint64_t fraction = magnitude % scale;
  if (fraction == 0) return;
  char digits[4];
  for (int i = 3; i >= 0; --i, fraction /= 10) digits[i] = static_cast<char>('0' + fraction % 10);
  int length = 4;
  while (digits[length - 1] == '0') --length;
  out += '.';
  out.append(digits, static_cast<size_t>(length));
}

}  // namespace quon::script::currency
