// Numbers as text, for the whole program: the two written forms, and the readers of
// decimal and "&H"/"&O" numbers that the entry fields, the specification files and the
// expression language share. Nothing here consults the locale: "." is always the decimal
// separator.
//
// Text form: rounded to 15 significant digits, trailing zeros and point dropped, "-" only
// when negative, "0" before the point below 1 (0.5); plain when the decimal exponent of
// the rounded value lies in -4..14, else exponent form (1E-05, 1.5E+15). Negative zero is
// written "0". Infinities and NaN are written "Infinity", "-Infinity" and "NaN".
// Print form: the text form with a blank in the place of the sign when the value is not
// negative and no "0" before the point below 1 (" .5", "-.25").
//
// The range rule, the same for every reader: a decimal whose magnitude is at most
// 1.79769313486232E+308 (the text form of the largest double, which lies just above it)
// reads as a double, the largest one where it lies beyond; a larger one is out of range,
// and each reader says what that means for its callers; one below the smallest subnormal
// reads as zero of its sign. So every finite double survives writing and reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quon {

std::string TextForm(double value);
std::string PrintForm(double value);
void AppendTextForm(double value, std::string& out);
// The text form of a 4-byte float: rounded to 7 significant digits, plain when the decimal
// exponent lies in -4..6 (1234567, 1.234568E+07, 1E-05).
void AppendSingleTextForm(float value, std::string& out);

// Texts for other programs to read back exactly, independent of the locale: the shortest
// text that reads back as the same double, and the form with 17 significant digits that
// the source exports use ("-1.2500000000000000e+00").
std::string RoundTripText(double value);
std::string SeventeenDigits(double value);

// Room for any print or text form: sign, 15 digits, point, up to 4 zeros, or an exponent.
inline constexpr int PrintFormMaxChars = 32;
// Writes the print form at out (at least PrintFormMaxChars free) without allocating, for
// the millions of coefficient lines of a file; returns the end. No terminating NUL.
char* PrintFormTo(char* out, double value);

// What a decimal reader accepts besides digits with at most one point and an "E" exponent.
struct DecimalSyntax {
  bool sign = true;       // a leading "+" or "-"
  bool exponentD = true;  // "D" as the exponent's letter, as well as "E"
};

// The longest decimal number at the start of `text`: its length (0 when there is none) and
// its value; tooLarge when it is beyond the range rule above (value then an infinity of
// its sign). An exponent letter without digits after it is not part of the number.
struct DecimalReading {
  std::size_t length = 0;
  double value = 0.0;
  bool tooLarge = false;
};
DecimalReading ReadDecimal(std::string_view text, DecimalSyntax syntax);

// The longest "&H" (hexadecimal) or "&O" (octal) integer at the start of `text`, letters
// in either case, with an optional "&" suffix; a value up to 16 bits wide without the
// suffix is a 16-bit two's complement integer (&HFFFF is -1, &H8000 is -32768), otherwise
// a 32-bit two's complement one (&HFFFF& is 65535, &HFFFFFFFF is -1). Leading zeros do
// not count. Reading stops before a digit that would make the value wider than 32 bits;
// wider32 then says that digits were left. length is 0 when no digit follows the marker.
struct RadixReading {
  std::size_t length = 0;
  int32_t value = 0;
  bool wider32 = false;
};
RadixReading ReadRadix(std::string_view text);

// The longest leading number of the text after every blank, tab and line feed has been
// dropped: a decimal (sign, "E" or "D" exponent) or an "&H"/"&O" integer with no sign
// before the "&". 0 when there is none; beyond the range an infinity of its sign; never
// fails. The entry fields read numbers this way.
double LeadingNumber(std::string_view text);

// The entry fields' check: the whole text, apart from blanks and tabs around it, is a
// decimal number (sign, "E" exponent) within the range rule.
bool IsNumber(std::string_view text);

// The expression language's reading of a text where a number is needed: blanks, tabs and
// line ends around it, then a whole decimal (sign, "E" or "D" exponent) or "&H"/"&O"
// integer. Nothing when the text is no number; tooLarge as ReadDecimal says.
std::optional<DecimalReading> ReadNumericText(std::string_view text);

// value rounded to the nearest integer, halves to the even neighbour; nullopt when the
// result does not fit a 32-bit signed integer or value is not finite.
std::optional<int32_t> RoundHalfEvenToInt32(double value);

}  // namespace quon
