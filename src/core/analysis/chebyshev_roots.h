// All real roots of a smooth function on an interval, the way Chebfun finds them (Boyd,
// "Computing zeros on a real interval through Chebyshev expansion and polynomial
// rootfinding", SIAM J. Numer. Anal. 40 (2002); Battles and Trefethen, SIAM J. Sci.
// Comput. 25 (2004)): the function is sampled at the Chebyshev points of a degree that
// resolves it, its Chebyshev coefficients are taken by a cosine sum and chopped where
// they fall below its rounding, and the roots of the series are the eigenvalues of its
// colleague matrix (Good, 1961). An interval that needs a degree above 64 is split in
// two (slightly off the middle, so that a root at the middle is not on the seam) until
// each piece needs no more. Cost per piece: a cosine sum of O(N^2) for N <= 512 samples
// and an eigenvalue problem of at most 64 x 64, so the whole grows about linearly with
// the degree the interval needs. Every real eigenvalue in the piece (imaginary part below
// 1E-4 of the half-width, for the complex pair into which rounding splits a double root)
// is then refined by Newton's method on the function itself, kept only where the
// function is zero to its rounding there, and roots that the function cannot tell apart
// (it stays within its rounding between them: a double root, the two eigenvalues of a
// root found from both sides of a seam) are reported once.
// Accuracy: a simple root to a few units in the last place of its coordinate, a root of
// multiplicity m to about the m-th root of the rounding. A root can only be missed where
// the function's Chebyshev series does not resolve it, which the degree rules out.
#pragma once

#include <cstdint>
#include <vector>

namespace quon {

// A function as the root finder sees it.
class RootFunction {
 public:
  virtual ~RootFunction() = default;
  // The value at x; `noise` receives the size of the rounding it may carry (a sum of the
  // magnitudes of what was added up), at least |value|.
  virtual double Value(double x, double& noise) const = 0;
  virtual double Slope(double x) const = 0;
  // A Chebyshev degree that resolves the function on [lo, hi] to its rounding.
  virtual int64_t Degree(double lo, double hi) const = 0;
};

struct RealRoots {
  std::vector<double> Roots;     // ascending, each once
  bool IdenticallyZero = false;  // zero to rounding across the interval: every point a root
};

// The roots of f in [lo, hi] (lo < hi).
RealRoots FindRealRoots(const RootFunction& f, double lo, double hi);

// The Chebyshev coefficients of the polynomial of degree values.size() - 1 through
// `values` at the Chebyshev points of the second kind, ascending (t = -1 first).
std::vector<double> ChebyshevCoefficients(const std::vector<double>& values);

}  // namespace quon
