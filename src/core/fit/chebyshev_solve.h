// The fit's step along a Chebyshev variable: every line of Coef along dimension k holds
// the samples at the variable's Chebyshev points (node_geometry.h) and becomes the
// coefficients of the interpolant through them, by the cosine transform of
// chebyshev_transform.h, in place. No matrix is built or solved.
//
// Lines are taken in panels of adjacent ones: for dimensions 1 to 3 element i of
// neighbouring lines lies side by side, so the transform reads and writes a panel as runs
// of adjacent elements (as the solver's panels are), straight into and out of its work
// space; dimension 0's lines are contiguous already. Panels are shared out by ParallelFor
// when the array is large enough for threads to pay. Cost: O(n log n) per line of n
// elements, about 10 n log2(2 n) flops per pair of lines; memory: one transform's work
// space per thread.
#pragma once

#include "core/model/coef_array.h"

namespace quon {

// Transforms along dimension k (0..3). Throws std::bad_alloc when the work space cannot
// be had, with Coef then partly transformed.
void ChebyshevAlongDimension(CoefArray& coef, int k);

}  // namespace quon
