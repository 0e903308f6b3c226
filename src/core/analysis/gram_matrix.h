// The Gram matrix of one variable's terms under the uniform weight on an interval: entry
// (i, j) is the mean over [lo, hi] of term i times term j, (1 / (hi - lo)) times the
// integral of their product. Term 0 is the constant 1 in every kind, so row 0 holds the
// terms' means, bit for bit the numbers the products with it give.
//
// Closed forms, per kind, with m and h the middle and half-width of [lo, hi] measured from
// the centre c, so that u = x - c runs over m - h .. m + h:
//   power, u^i u^j:   the mean of u^s for s = i + j, sum over even r <= s of
//                     C(s, r) m^(s-r) h^r / (r + 1): every term has the sign of m^s, so
//                     there is no cancellation, unlike (U^(s+1) - L^(s+1)) / ((s+1)(U-L));
//   trigonometric, terms 1, sin(w u), cos(w u), sin(2 w u), ... (w = 2 pi / P): a product
//                     of two is half a sum or difference of cos or sin of (a +- b) w u,
//                     whose means are cos(k w m) sinc(k w h) and sin(k w m) sinc(k w h)
//                     (sin A - sin B and cos A - cos B written as products); a product of
//                     two sines takes 1 - cos(k w m) sinc(k w h) as 2 sin^2(k w m / 2) +
//                     cos(k w m) (1 - sinc(k w h)), the latter by its series for small
//                     arguments, so that it does not cancel on a short interval.
// Cost: O(n^2) for n terms. Accuracy: a few roundings per entry, relative to the entry's
// terms (a sine times a cosine on an interval much shorter than the period loses the few
// digits that the difference of its two sines costs). Fails with AnalysisError for a zero period or
// entries that overflow (high powers far from the centre).
#pragma once

#include <cstddef>
#include <vector>

#include "core/model/node_geometry.h"

namespace quon {

// A symmetric matrix, row-major.
struct SquareMatrix {
  std::size_t Size = 0;
  std::vector<double> Values;
  double operator()(std::size_t i, std::size_t j) const { return Values[i * Size + j]; }
};

// The Gram matrix of the terms of g over [lo, hi], uniform weight; lo == hi gives the
// products of the terms' values there.
SquareMatrix TermGram(const NodeGeometry& g, double lo, double hi);

}  // namespace quon
