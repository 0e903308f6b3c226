// Test support: Gauss-Legendre quadrature, an integration independent of the closed forms
// under test (exact for polynomials of degree 2n - 1).
#pragma once

#include <cmath>
#include <vector>

namespace quon::testing {

// Nodes and weights of n-point Gauss-Legendre quadrature on [-1, 1], by Newton's method on
// the Legendre polynomial from the Chebyshev guesses.
inline void GaussLegendre(int n, std::vector<double>& nodes, std::vector<double>& weights) {
  for (int i = 0; i < n; ++i) {
    double t = std::cos(M_PI * (i + 0.75) / (n + 0.5));
    double derivative = 0.0;
    for (int iteration = 0; iteration < 100; ++iteration) {
      double p0 = 1.0, p1 = t;
      for (int k = 2; k <= n; ++k) {
        const double p2 = ((2 * k - 1) * t * p1 - (k - 1) * p0) / k;
        p0 = p1;
        p1 = p2;
      }
      derivative = n * (t * p1 - p0) / (t * t - 1);
      const double step = p1 / derivative;
      t -= step;
      if (std::abs(step) < 1e-16) break;
    }
    nodes.push_back(t);
    weights.push_back(2 / ((1 - t * t) * derivative * derivative));
  }
}

}  // namespace quon::testing
