// The writers of number_text.h: one digit layout behind the text form, the print form, the
// allocation-free print form of the specification files and the Single text form. The
// rounding to 15 digits is number_text_round.h's. Cost: the rounding's few
// multiplications and the digit layout, about 20 ns.
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "engine/number_text.h"
#include "engine/number_text_round.h"

namespace quon {
namespace {

constexpr int kDigits = 15;

// A number's significant digits, first digit first, followed by '0's: every copy below
// moves a fixed 16 characters (one vector move) and keeps only as many as it needs, and
// the padding supplies the zeros of a plain integer.
struct Digits {
  char text[32];
  int count = 0;  // significant digits, trailing zeros dropped
};

Digits PaddedDigits(const char* digits, int count) {
  Digits d;
  std::memset(d.text, '0', sizeof d.text);
  std::memcpy(d.text, digits, static_cast<std::size_t>(count));
  while (count > 1 && d.text[count - 1] == '0') --count;
  d.count = count;
  return d;
}

char* WriteUnsigned(char* out, uint64_t value) { return std::to_chars(out, out + 20, value).ptr; }

// Writes d.text[first ..] and advances by `count` of them (at most 16).
char* Copy(char* out, const Digits& d, int first, int count) {
  std::memcpy(out, d.text + first, 16);
  return out + count;
}

// The layout of a number's digits whose first digit has the decimal exponent `exponent`:
// plain when that exponent lies in -4..maxPlain (at most 14), else exponent form; `print`
// selects the print form (a blank for the sign of a value that is not negative, no "0"
// before the point). Writes at most PrintFormMaxChars characters, the copies' spill
// included.
char* WriteDigits(char* out, bool negative, const Digits& d, int exponent, int maxPlain,
                  bool print) {
  if (negative) {
    *out++ = '-';
  } else if (print) {
    *out++ = ' ';
  }
  if (exponent >= -4 && exponent <= maxPlain) {
    if (exponent >= 0) {
      const int integerDigits = exponent + 1;
      out = Copy(out, d, 0, integerDigits);
      if (d.count > integerDigits) {
        *out++ = '.';
        out = Copy(out, d, integerDigits, d.count - integerDigits);
      }
    } else {
      if (!print) *out++ = '0';
      *out++ = '.';
      std::memcpy(out, "000", 3);
      out += -exponent - 1;
      out = Copy(out, d, 0, d.count);
    }
    return out;
  }
  *out++ = d.text[0];
  if (d.count > 1) {
    *out++ = '.';
    out = Copy(out, d, 1, d.count - 1);
  }
  *out++ = 'E';
  *out++ = exponent < 0 ? '-' : '+';
  const int absExponent = exponent < 0 ? -exponent : exponent;
  if (absExponent < 10) *out++ = '0';
  return WriteUnsigned(out, static_cast<uint64_t>(absExponent));
}

// The decimal digits of 0 <= value < 10^8 with leading zeros, as the values 0..9 of the
// eight bytes of a word, the first digit in the lowest byte: the value is split into
// halves of four digits, pairs and digits by multiplications on all the lanes at once
// (n / 100 is n * 5243 >> 19 below 43699, n / 10 is n * 103 >> 10 below 179).
uint64_t EightDigitValues(uint32_t value) {
  const uint64_t halves = (value / 10000) | (static_cast<uint64_t>(value % 10000) << 32);
  const uint64_t hundreds = ((halves * 5243) >> 19) & 0x0000007F0000007FU;
  const uint64_t pairs = hundreds | ((halves - hundreds * 100) << 16);
  const uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FU;
  return tens | ((pairs - tens * 10) << 8);
}

// The 15 digits of 10^14 <= value < 10^15, padded, and their count without trailing
// zeros: the highest nonzero byte of the digit values is the last nonzero digit.
Digits FifteenDigits(uint64_t value) {
  constexpr uint64_t kZeros = 0x3030303030303030U;
  Digits d;
  std::memset(d.text, '0', sizeof d.text);
  if constexpr (std::endian::native == std::endian::little) {
    // The first word has a leading 0 before the first seven digits.
    const uint64_t first = EightDigitValues(static_cast<uint32_t>(value / 100000000));
    const uint64_t second = EightDigitValues(static_cast<uint32_t>(value % 100000000));
    const uint64_t firstText = (first >> 8) + (kZeros >> 8);
    const uint64_t secondText = second + kZeros;
    std::memcpy(d.text, &firstText, 8);
    std::memcpy(d.text + 7, &secondText, 8);
    d.count =
        second != 0 ? 8 + (63 - std::countl_zero(second)) / 8 : (63 - std::countl_zero(first)) / 8;
  } else {
    for (int i = kDigits - 1; i >= 0; --i, value /= 10)
      d.text[i] = static_cast<char>('0' + value % 10);
    d.count = kDigits;
    while (d.text[d.count - 1] == '0') --d.count;
  }
  return d;
}

char* WriteFinite(char* out, double value, bool print) {
  if (value == 0.0) return WriteDigits(out, false, PaddedDigits("0", 1), 0, 0, print);
  const number_text::Rounded r = number_text::RoundTo15Digits(std::fabs(value));
  return WriteDigits(out, value < 0, FifteenDigits(r.digits), r.exponent, kDigits - 1, print);
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
    out.append(buffer, WriteDigits(buffer, false, PaddedDigits("0", 1), 0, 0, false));
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
  int exponent = 0;
  std::from_chars(p + (p[1] == '+' ? 2 : 1), result.ptr, exponent);
  out.append(buffer, WriteDigits(buffer, value < 0, PaddedDigits(digits, count), exponent,
                                 kSingleDigits - 1, false));
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
