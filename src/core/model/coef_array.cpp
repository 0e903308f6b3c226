#include "core/model/coef_array.h"

#include <new>

namespace quon {

std::size_t CoefArray::CheckedElementCount(const LastTerms& lastTerm) {
  constexpr std::size_t maxElements = MaxCoefBytes / sizeof(double);
  std::size_t count = 1;
  for (std::size_t k = 0; k < lastTerm.size(); ++k) {
    if (lastTerm[k] < 0) {
      throw GridTooLarge("Variable " + std::to_string(k + 1) + " has fewer than one term.");
    }
    const auto extent = static_cast<std::size_t>(lastTerm[k]) + 1;
    if (count > maxElements / extent) {
      throw GridTooLarge("The grid of nodes is too large: more than " +
                         std::to_string(maxElements) + " coefficients (16 GiB). Use fewer terms.");
    }
    count *= extent;
  }
  return count;
}

void CoefArray::Allocate(const LastTerms& lastTerm) {
  const std::size_t count = CheckedElementCount(lastTerm);
  std::vector<double, LargeArrayAllocator<double>> fresh;
  try {
    fresh.assign(count, 0.0);
  } catch (const std::bad_alloc&) {
    throw GridTooLarge("Not enough memory for " + std::to_string(count) +
                       " coefficients. Use fewer terms.");
  }
  values_ = std::move(fresh);
  std::size_t stride = 1;
  for (std::size_t k = 0; k < 4; ++k) {
    extents_[k] = lastTerm[k] + 1;
    strides_[k] = stride;
    stride *= static_cast<std::size_t>(extents_[k]);
  }
}

void CheckBasisMatrixSize(int64_t n) {
  constexpr auto maxElements = static_cast<int64_t>(MaxCoefBytes / sizeof(double));
  if (n < 1 || n > maxElements / n) {
    throw GridTooLarge("The system of " + std::to_string(n) +
                       " terms of one variable is too large. Use fewer terms.");
  }
}

}  // namespace quon
