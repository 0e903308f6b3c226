// Chebyshev coefficients from values at the Chebyshev points of the second kind: the
// coefficients c_0 .. c_N of the polynomial of degree N that takes the value v_j at
// s_j = cos(j pi / N), j = 0 .. N (the node order of node_geometry.h, upper limit first),
// written as sum c_k T_k(s).
//
// The method is the type-I discrete cosine transform (Trefethen, "Approximation Theory
// and Approximation Practice", ch. 3 and 19; Battles & Trefethen 2004):
// c_k = (2 / N) sum''_j v_j cos(j k pi / N), where '' halves the terms j = 0 and j = N,
// and c_0 and c_N are halved once more. The sum is taken by the Fourier transform
// (fft.h) of the even extension v_0, ..., v_N, v_(N-1), ..., v_1 of length 2 N, whose
// transform is real: two lines go through one complex transform at once, one as the real
// and one as the imaginary part, and a whole panel of such pairs side by side (fft.h).
// Cost: O(N log N) per pair of lines. Accuracy: the
// coefficients agree with the exact transform of the samples to a few units of
// eps log N times the largest sample; the transform is well conditioned (the
// interpolation problem at these points has a Lebesgue constant below 2 / pi ln N + 1).
// A NaN or infinite sample spreads to every coefficient of its own line, no further.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/fit/fft.h"

namespace quon {

class ChebyshevTransform {
 public:
  // The plan for `terms` >= 1 values per line.
  explicit ChebyshevTransform(int32_t terms);

  int32_t terms() const { return terms_; }

  // Turns the values of `count` lines into their coefficients, in place: value j of line p
  // at lines[p][j * stride]. `work` is the caller's, reused across calls.
  void ToCoefficients(double* const* lines, std::size_t count, std::size_t stride,
                      std::vector<double>& work) const;

 private:
  int32_t terms_ = 1;
  Fft fft_;
};

}  // namespace quon
