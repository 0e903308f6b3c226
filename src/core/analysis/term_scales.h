// How finely a variable's terms can vary over an interval, per kind of terms: the degree of
// a Chebyshev series that reproduces every combination of them there to rounding, and the
// points of a scan that puts at least two points between any two neighbouring extremes of
// such a combination.
//
// Power terms of degree d, and Chebyshev terms T_0 .. T_d, are a polynomial of degree d: its
// Chebyshev series of degree d is exact, and it turns no faster than the Chebyshev polynomial T_d
// (Markov's and Bernstein's inequalities bound its slope and T_d attains them), whose extremes are
// the Chebyshev points of degree d; the scan takes the Chebyshev points of degree 2d. Trigonometric
// terms with highest multiple K and angular factor w, on an interval of half-width h: the fastest
// term turns through a = K w h radians either side of the middle, and the Chebyshev coefficients of
// order k of sin(a t + p) are bounded by 2 (a/2)^k / k! (Bessel functions, Abramowitz and
// Stegun 9.1.62), so the degree is the first k where that falls below 2^-56 of the terms'
// magnitude. Between its extremes the fastest term advances half a wavelength, pi / (K w); the scan
// is equally spaced at half of that, or at the degree of a polynomial that resolves the terms when
// the interval is so short that they behave like one (then at most min(d, degree) - 1 extremes),
// whichever is finer. The rounding of a term's value is bounded per kind too: a power u^j carries j
// roundings of its own size, a sine or cosine that of its angle, however small the value itself.
// Cost: O(degree) per call (O(log a) for the Bessel degree). Fails with AnalysisError for a
// trigonometric variable whose period is 0 or whose angles are not finite.
#pragma once

#include <cstdint>
#include <vector>

#include "core/model/node_geometry.h"

namespace quon {

// The Chebyshev degree that resolves every combination of the terms of g on [lo, hi].
int64_t ResolvingDegree(const NodeGeometry& g, double lo, double hi);

// The number of the scan's coordinates on [lo, hi] (lo <= hi), and the coordinates,
// ascending, both ends included; the single coordinate lo when lo == hi.
int64_t ScanCount(const NodeGeometry& g, double lo, double hi);
std::vector<double> ScanCoordinates(const NodeGeometry& g, double lo, double hi);

// The size to which each term's value at x is known: |x - c|^j for powers, 1 for sines and
// cosines, T_j(max(1, |s|)) for Chebyshev terms; the sum of these times the coefficients'
// magnitudes bounds the rounding.
std::vector<double> TermMagnitudes(const NodeGeometry& g, double x);

// The Chebyshev points of the second kind of `degree` on [lo, hi], ascending: degree + 1
// points, the ends exactly lo and hi.
std::vector<double> ChebyshevPoints(int64_t degree, double lo, double hi);

}  // namespace quon
