// The language's Currency arithmetic on counts of ten-thousandths (see variant.h): a
// number converted with halves rounded to the even neighbour at the fourth decimal (whole
// part and fraction apart, so that whole units stay exact up to the ends of the range), exact
// sums, differences and rounding, products exact while the counts are below 2^31 and
// otherwise rounded from the double product, and the text form with up to four decimals.
// Every result beyond the 64-bit range is error 6, never a wrapped count. Each function is
// a few integer operations.
#pragma once

#include <cstdint>
#include <string>

#include "engine/err_num.h"

namespace quon::script::currency {

// value rounded half-even to four decimals; 6 when it lies beyond the Currency range
// (-922337203685477.5808 .. 922337203685477.5807) or is no number.
ErrNum FromDouble(double value, int64_t& count);

ErrNum Add(int64_t a, int64_t b, int64_t& result);
ErrNum Subtract(int64_t a, int64_t b, int64_t& result);
ErrNum Multiply(int64_t a, int64_t b, int64_t& result);
// -count; 6 for the most negative count, whose negation does not fit.
ErrNum Negate(int64_t count, int64_t& result);

// count rounded half-even to `decimals` (at least 0) decimals, 4 or more leaving it as it
// is; 6 where rounding up leaves the range (the largest Currency rounded to a whole unit).
ErrNum RoundToDecimals(int64_t count, int32_t decimals, int64_t& result);
// The whole part towards zero (Fix) and towards minus infinity (Int); 6 only for Int below
// the lowest whole number of the range.
int64_t Truncate(int64_t count);
ErrNum Floor(int64_t count, int64_t& result);

// "-1.5", "30", "0.0001": no exponent, no trailing zeros after the point.
void AppendText(int64_t count, std::string& out);

}  // namespace quon::script::currency
