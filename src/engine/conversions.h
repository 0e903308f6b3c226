// The language's conversions between its kinds: a text read as a number and a number
// written as text (both by the program's one number-text module), the typing of literals,
// and the CDbl, CLng, CInt, CByte, CSng, CCur and CBool rules with halves rounded to the
// even neighbour (CCur at the fourth decimal).
// Every function reports failure by an error number, never by throwing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/err_num.h"
#include "engine/variant.h"

namespace quon::script {

// A text as the language reads it where a number is needed: 13 for a text that is not a
// number, 6 for one beyond the double range.
ErrNum ParseNumericText(std::string_view text, double& value);

// The longest text the engine builds (16 Mi characters): a longer one is error 14, so
// that Space, String, Replace or a doubling loop cannot exhaust memory.
inline constexpr size_t MaxTextLength = size_t{1} << 24;

// The text of a value where a function needs one: Strings as they are, numbers in their
// text form, Booleans as "True" or "False", Empty as "". Not for Null. `buffer` holds
// the text when the value is no String.
const std::string& TextOf(const Variant& value, std::string& buffer);

// A whole number in the smallest of Integer and Long that holds it (&HFFFFFFFF is the
// Integer -1, &H10000 the Long 65536).
Variant SmallestWhole(int32_t value);

// The value of a decimal literal ("12", "1.", ".5", "1.5E+20"): a whole number without
// point or exponent is an Integer up to 32767, a Long up to 2147483647, else a Double.
// False when the text is no literal or its value is beyond the double range.
bool DecimalLiteral(std::string_view text, Variant& value);

// Appends the language's text of a value: numbers in their kind's text form (a Single with
// 7 significant digits, a Currency with up to four decimals), a Boolean as "True" or
// "False", a String as it is, nothing for Empty and Null.
void AppendText(const Variant& value, std::string& out);

// value rounded to the nearest integer, halves to the even neighbour, if it lies in
// [low, high]; 6 otherwise.
ErrNum RoundToRange(double value, double low, double high, int32_t& result);

// CDbl: Empty 0, Boolean -1 or 0, numbers as they are, texts read as numbers; 94 for
// Null, 13 for a text that is not a number.
ErrNum ToDouble(const Variant& value, double& result);
// CLng and CInt: ToDouble, then rounded half-even; 6 outside the kind's range.
ErrNum ToLong(const Variant& value, int32_t& result);
ErrNum ToInteger(const Variant& value, int16_t& result);
// CByte: rounded half-even into 0..255, 6 beyond.
ErrNum ToByte(const Variant& value, uint8_t& result);
// CSng: the nearest float; 6 beyond the largest float's magnitude.
ErrNum ToSingle(const Variant& value, float& result);
// CCur: a Currency stays as it is; any other value is rounded half-even to four decimals,
// 6 beyond the Currency range.
ErrNum ToCurrency(const Variant& value, int64_t& count);
// A Single result computed in doubles: the nearest float, or the Double itself where the
// float range ends (the language widens a Single that overflows to a Double).
Variant SingleOrWider(double result);
// CBool: a number is true unless 0; the texts "True", "False", "#TRUE#" and "#FALSE#" in
// any case; 13 else.
ErrNum ToBoolean(const Variant& value, bool& result);

}  // namespace quon::script
