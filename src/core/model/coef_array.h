// The four-dimensional array of doubles that first holds the function's samples on the
// grid of nodes and is then turned, in place, into the coefficients of the approximation.
//
// Dimension k has LastTerm(k) + 1 index values; index 0 varies fastest in memory, so
// element (i0, i1, i2, i3) lies at i0 + N0 * (i1 + N1 * (i2 + N2 * i3)). That is also the
// canonical order in which the fit samples, the listing lists and the file stores.
//
// The storage comes from LargeArrayAllocator (huge pages for a large grid).
//
// The size is checked before anything is allocated: a shape whose element count or byte
// size does not fit, or exceeds MaxCoefBytes, is refused with a GridTooLarge error and
// the array keeps what it held before.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/model/large_array.h"

namespace quon {

// Refusal of a shape that cannot or must not be allocated. what() is a message for the user.
class GridTooLarge : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Largest coefficient array we try to allocate: 16 GiB, two billion doubles.
inline constexpr std::size_t MaxCoefBytes = std::size_t{16} << 30;

class CoefArray {
 public:
  using LastTerms = std::array<int32_t, 4>;

  // The number of elements of a shape, or a GridTooLarge error naming what is wrong
  // (a LastTerm below 0, an element count beyond MaxCoefBytes).
  static std::size_t CheckedElementCount(const LastTerms& lastTerm);

  // Replaces the contents by a zero-filled array with lastTerm[k] + 1 index values in
  // dimension k. Throws GridTooLarge (also when memory runs out) and then leaves the
  // array as it was.
  void Allocate(const LastTerms& lastTerm);

  bool empty() const { return values_.empty(); }
  // Number of index values in dimension k (1 for an unallocated array).
  int32_t extent(int k) const { return extents_[static_cast<std::size_t>(k)]; }
  // Distance in elements between neighbours along dimension k.
  std::size_t stride(int k) const { return strides_[static_cast<std::size_t>(k)]; }
  std::size_t size() const { return values_.size(); }

  double* data() { return values_.data(); }
  const double* data() const { return values_.data(); }

  std::size_t offset(int32_t i0, int32_t i1, int32_t i2, int32_t i3) const {
    return static_cast<std::size_t>(i0) + strides_[1] * static_cast<std::size_t>(i1) +
           strides_[2] * static_cast<std::size_t>(i2) + strides_[3] * static_cast<std::size_t>(i3);
  }
  double& operator()(int32_t i0, int32_t i1, int32_t i2, int32_t i3) {
    return values_[offset(i0, i1, i2, i3)];
  }
  double operator()(int32_t i0, int32_t i1, int32_t i2, int32_t i3) const {
    return values_[offset(i0, i1, i2, i3)];
  }

 private:
  std::array<int32_t, 4> extents_{1, 1, 1, 1};
  std::array<std::size_t, 4> strides_{1, 1, 1, 1};
  std::vector<double, LargeArrayAllocator<double>> values_;
};

// Throws GridTooLarge when the n x n system of one variable's terms would exceed
// MaxCoefBytes (or n < 1).
void CheckBasisMatrixSize(int64_t n);

}  // namespace quon
