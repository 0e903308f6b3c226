// The print form of a number written into a caller's buffer, for the millions of
// coefficient lines of a specification file: the same characters as PrintForm (a blank in
// the place of the sign when not negative, 15 significant digits, no "0" before the point
// below 1, exponent form outside 1E-04 .. 1E+15), without allocating.
//
// The value is scaled to a 15-digit integer in extended precision (64-bit mantissa), which
// decides the rounding to 15 digits correctly whenever the scaled value lies farther than
// 1E-04 from a rounding boundary; nearer (about one value in five thousand), and where
// extended precision is not available, std::to_chars decides exactly. Cost: a few
// multiplications and the digit layout, about 30 ns.
#pragma once

namespace quon {

// Room for any print form: sign, 15 digits, point, up to 4 zeros after it, or an exponent.
inline constexpr int PrintFormMaxChars = 32;

// Writes the print form of value at out (at least PrintFormMaxChars free) and returns the
// end of what was written. No terminating NUL.
char* PrintFormTo(char* out, double value);

}  // namespace quon
