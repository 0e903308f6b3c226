// The two ways the program writes a number, and the one way it reads a number from text
// the user typed. None of them depends on the process's locale: "." is always the
// decimal separator.
//
// Text form: rounded to 15 significant digits, trailing zeros and point dropped, "-" only
// when negative, "0" before the point below 1 (0.5); plain when the decimal exponent of
// the rounded value lies in -4..14, else exponent form (1E-05, 1.5E+15). Negative zero is
// written "0". Infinities and NaN are written "Infinity", "-Infinity" and "NaN".
//
// Print form: the text form with a blank in the place of the sign when the value is not
// negative and no "0" before the point below 1 (" .5", "-.25").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quon {

std::string TextForm(double value);
std::string PrintForm(double value);

// The longest leading number of the text after every blank, tab and line feed has been
// dropped: sign, digits with at most one point, exponent with E or D; "&H" and "&O" start
// hexadecimal and octal integers. 0 when there is none; never fails.
// A decimal number beyond the range of a double reads as an infinity of its sign, one
// below the smallest subnormal as zero; up to 1.79769313486232E+308 (the text form of the
// largest double) it reads as the largest double, so that every text form reads back. Hexadecimal and octal integers: "H", "O" and the
// hex letters in either case; no sign before "&"; a value up to 16 bits wide is a 16-bit
// two's complement integer (&HFFFF is -1), a wider one a 32-bit two's complement integer
// (&HFFFFFFFF is -1, &H10000 is 65536); reading stops before a digit that would make the
// value wider than 32 bits. "&H" without digits reads as 0.
double LeadingNumber(std::string_view text);

// The entry fields' check: the whole text, apart from blanks around it, is a number
// (sign, digits with at most one point, optional exponent with E in either case). Empty is
// not a number, nor is a number beyond the range of a double. Blanks are spaces and tabs.
bool IsNumber(std::string_view text);

// value rounded to the nearest integer, halves to the even neighbour; nullopt when the
// result does not fit a 32-bit signed integer or value is not finite.
std::optional<int32_t> RoundHalfEvenToInt32(double value);

}  // namespace quon
