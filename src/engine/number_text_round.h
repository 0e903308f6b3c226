// The rounding of a double's magnitude to 15 significant digits, behind the written
// number forms (number_text_write.cpp). Engine-internal.
//
// The magnitude is scaled by a power of ten to a 15-digit integer in extended precision
// (a 64-bit significand, rounded to nearest, ties to even), which decides the rounding to
// 15 digits correctly whenever the scaled value lies farther than 1E-04 from a rounding
// boundary; nearer (about one value in five thousand), and where extended precision is not
// available, std::to_chars in scientific notation with 14 digits after the point decides
// exactly (correct rounding to nearest, ties to even on the exact binary value, carries
// such as 9.99...95 -> 1E+n resolved).
//
// Where long double is the x87 extended format the scaled value is computed with 64-bit
// integers instead: the exact product of the two significands rounded to 64 bits as the
// x87's multiplication rounds it, which gives the same bits without the x87's costly
// floor and conversions (a fifth of the cost). Elsewhere long double computes it.
#pragma once

#include <cstdint>

namespace quon::number_text {

// `digits` in [1E+14, 1E+15) and the decimal exponent of the first digit.
struct Rounded {
  uint64_t digits = 0;
  int exponent = 0;
};

// magnitude: finite and above zero.
Rounded RoundTo15Digits(double magnitude);

// The same by the long double arithmetic alone, on every platform: the reference the
// integer form is tested against.
Rounded RoundTo15DigitsInLongDouble(double magnitude);

}  // namespace quon::number_text
