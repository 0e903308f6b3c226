// The Fourier and cosine transforms against their defining sums taken directly in long
// double, and the Chebyshev fit along each dimension of a grid against the transform of
// each line on its own.
#include "core/fit/chebyshev_transform.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numbers>
#include <random>

#include "core/fit/chebyshev_solve.h"
#include "core/fit/fft.h"

namespace quon {
namespace {

using Complex = std::complex<double>;

struct LengthCase {
  const char* name;
  std::size_t n;
};

class TransformLength : public ::testing::TestWithParam<LengthCase> {};

std::vector<double> RandomValues(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<double> values(n);
  for (double& v : values) v = unit(random);
  return values;
}

TEST_P(TransformLength, FourierTransformMatchesTheDirectSum) {
  const std::size_t n = GetParam().n;
  const std::vector<double> re = RandomValues(n, 1), im = RandomValues(n, 2);
  std::vector<Complex> data(n);
  for (std::size_t j = 0; j < n; ++j) data[j] = {re[j], im[j]};
  std::vector<Complex> scratch;
  Fft(n).Forward(data.data(), scratch);
  const long double pi = std::numbers::pi_v<long double>;
  for (std::size_t k = 0; k < n; ++k) {
    long double sumRe = 0, sumIm = 0;
    for (std::size_t j = 0; j < n; ++j) {
      const long double angle = -2 * pi * static_cast<long double>((j * k) % n) / n;
      sumRe += re[j] * std::cos(angle) - im[j] * std::sin(angle);
      sumIm += re[j] * std::sin(angle) + im[j] * std::cos(angle);
    }
    const double tolerance = 32 * DBL_EPSILON * std::sqrt(static_cast<double>(n)) *
                             std::log2(static_cast<double>(n) + 1);
    EXPECT_NEAR(data[k].real(), static_cast<double>(sumRe), tolerance) << k;
    EXPECT_NEAR(data[k].imag(), static_cast<double>(sumIm), tolerance) << k;
  }
}

// c_k = (2 / N) sum''_j v_j cos(j k pi / N), halved at k = 0 and N.
TEST_P(TransformLength, CosineTransformMatchesTheDirectSumTwoLinesAtOnce) {
  const auto terms = static_cast<int32_t>(GetParam().n + 1);
  const auto last = static_cast<std::size_t>(terms - 1);
  std::vector<double> a = RandomValues(last + 1, 3), b = RandomValues(last + 1, 4);
  const std::vector<double> original = a;
  std::vector<double> alone = a;
  std::vector<Complex> work, scratch;
  const ChebyshevTransform transform(terms);
  transform.ToCoefficients(a.data(), b.data(), work, scratch);
  transform.ToCoefficients(alone.data(), nullptr, work, scratch);
  const long double pi = std::numbers::pi_v<long double>;
  for (std::size_t k = 0; k <= last; ++k) {
    long double sum = 0;
    for (std::size_t j = 0; j <= last; ++j) {
      const long double weight = j == 0 || j == last ? 0.5L : 1.0L;
      sum += weight * original[j] *
             std::cos(pi * static_cast<long double>((j * k) % (2 * last)) / last);
    }
    const long double c = sum * 2 / last * (k == 0 || k == last ? 0.5L : 1.0L);
    const double tolerance = 64 * DBL_EPSILON * std::log2(static_cast<double>(last) + 2);
    EXPECT_NEAR(a[k], static_cast<double>(c), tolerance) << k;
    EXPECT_NEAR(alone[k], a[k], tolerance) << k;
  }
}

const LengthCase kLengths[] = {
    {"One", 1},         {"Two", 2},
    {"Three", 3},       {"Sixteen", 16},
    {"Seventeen", 17},  {"SixtyFour", 64},
    {"NinetyNine", 99}, {"Prime199", 199},
    {"Power256", 256},  {"Composite360", 360},
};

INSTANTIATE_TEST_SUITE_P(Lengths, TransformLength, ::testing::ValuesIn(kLengths),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChebyshevTransform, ANaNStaysInItsOwnLine) {
  std::vector<double> a(9, 1.0), b(9, 2.0);
  a[4] = std::nan("");
  std::vector<Complex> work, scratch;
  ChebyshevTransform(9).ToCoefficients(a.data(), b.data(), work, scratch);
  EXPECT_TRUE(std::isnan(a[0]));
  EXPECT_EQ(b[0], 2.0);
  for (std::size_t k = 1; k < b.size(); ++k) EXPECT_NEAR(b[k], 0.0, 16 * DBL_EPSILON) << k;
}

// Every line along every dimension of a grid, the panels and threads notwithstanding,
// transformed as the transform alone does it.
TEST(ChebyshevAlongDimension, TransformsEveryLineOfEveryDimension) {
  CoefArray coef;
  coef.Allocate({6, 16, 2, 40});  // 7 x 17 x 3 x 41 values, above the threads' threshold
  const std::vector<double> values = RandomValues(coef.size(), 5);
  std::copy(values.begin(), values.end(), coef.data());
  for (int k = 0; k < 4; ++k) {
    CoefArray expected = coef;
    const auto n = static_cast<std::size_t>(coef.extent(k));
    const ChebyshevTransform transform(coef.extent(k));
    std::vector<Complex> work, scratch;
    std::vector<double> line(n);
    for (std::size_t start = 0; start < coef.size(); ++start) {
      if ((start / coef.stride(k)) % n != 0) continue;  // not the first element of a line
      for (std::size_t i = 0; i < n; ++i) line[i] = expected.data()[start + i * coef.stride(k)];
      transform.ToCoefficients(line.data(), nullptr, work, scratch);
      for (std::size_t i = 0; i < n; ++i) expected.data()[start + i * coef.stride(k)] = line[i];
    }
    ChebyshevAlongDimension(coef, k);
    for (std::size_t i = 0; i < coef.size(); ++i) {
      ASSERT_NEAR(coef.data()[i], expected.data()[i], 1e-12) << "dimension " << k << " at " << i;
    }
  }
}

}  // namespace
}  // namespace quon
