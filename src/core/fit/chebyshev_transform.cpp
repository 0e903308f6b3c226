#include "core/fit/chebyshev_transform.h"

#include <algorithm>
#include <cmath>

namespace quon {

ChebyshevTransform::ChebyshevTransform(int32_t terms)
    : terms_(terms), fft_(terms > 1 ? 2 * static_cast<std::size_t>(terms - 1) : 1) {}

void ChebyshevTransform::ToCoefficients(double* const* lines, std::size_t count, std::size_t stride,
                                        std::vector<double>& work) const {
  if (terms_ == 1 || count == 0) return;  // one value is its own constant term
  const auto last = static_cast<std::size_t>(terms_ - 1);
  const std::size_t rows = 2 * last;
  // Lines p and p + width are paired. Their values are gathered row by row, along memory.
  const auto gather = [&](std::size_t width) {
    work.resize(2 * rows * width);
    double* re = work.data();
    double* im = re + rows * width;
    double residue = 0.0;  // v - v is 0 for every finite v, NaN for an infinity or a NaN
    for (std::size_t j = 0; j <= last; ++j) {
      const std::size_t at = j * stride;
      for (std::size_t q = 0; q < width; ++q) {
        const double a = lines[q][at];
        const double b = q + width < count ? lines[q + width][at] : 0.0;
        re[j * width + q] = a;
        im[j * width + q] = b;
        residue += (a - a) + (b - b);
      }
    }
    return residue == 0.0;
  };
  std::size_t width = (count + 1) / 2;
  // A NaN or an infinity would reach the line paired with it through the products of the
  // transform: lines that hold one go through without pairing.
  if (!gather(width)) {
    width = count;
    gather(width);
  }
  double* re = work.data();
  double* im = re + rows * width;
  for (std::size_t j = 1; j < last; ++j) {
    std::copy(re + j * width, re + (j + 1) * width, re + (rows - j) * width);
    std::copy(im + j * width, im + (j + 1) * width, im + (rows - j) * width);
  }
  std::vector<double> scratch;
  fft_.Forward(re, im, width, scratch);
  const double inner = 1.0 / static_cast<double>(last);
  const double end = 0.5 * inner;
  for (std::size_t k = 0; k <= last; ++k) {
    const double scale = k == 0 || k == last ? end : inner;
    const std::size_t at = k * stride;
    for (std::size_t q = 0; q < width; ++q) {
      lines[q][at] = re[k * width + q] * scale;
      if (q + width < count) lines[q + width][at] = im[k * width + q] * scale;
    }
  }
}

}  // namespace quon
