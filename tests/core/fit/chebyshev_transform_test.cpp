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

// Three sequences side by side, each against its own direct sum.
TEST_P(TransformLength, FourierTransformMatchesTheDirectSum) {
  const std::size_t n = GetParam().n;
  constexpr std::size_t kWidth = 3;
  const std::vector<double> re0 = RandomValues(n * kWidth, 1), im0 = RandomValues(n * kWidth, 2);
  std::vector<double> re = re0, im = im0, scratch;
  Fft(n).Forward(re.data(), im.data(), kWidth, scratch);
  const long double pi = std::numbers::pi_v<long double>;
  const double tolerance =
      32 * DBL_EPSILON * std::sqrt(static_cast<double>(n)) * std::log2(static_cast<double>(n) + 1);
  for (std::size_t q = 0; q < kWidth; ++q) {
    for (std::size_t k = 0; k < n; ++k) {
      long double sumRe = 0, sumIm = 0;
      for (std::size_t j = 0; j < n; ++j) {
        const long double angle = -2 * pi * static_cast<long double>((j * k) % n) / n;
        const double r = re0[j * kWidth + q], i = im0[j * kWidth + q];
        sumRe += r * std::cos(angle) - i * std::sin(angle);
        sumIm += r * std::sin(angle) + i * std::cos(angle);
      }
      EXPECT_NEAR(re[k * kWidth + q], static_cast<double>(sumRe), tolerance) << q << "," << k;
      EXPECT_NEAR(im[k * kWidth + q], static_cast<double>(sumIm), tolerance) << q << "," << k;
    }
  }
}

// c_k = (2 / N) sum''_j v_j cos(j k pi / N), halved at k = 0 and N: three lines in one
// panel, their values interleaved (a pair and one alone), and the first line again on its
// own.
TEST_P(TransformLength, CosineTransformMatchesTheDirectSumInAPanelAndAlone) {
  const auto terms = static_cast<int32_t>(GetParam().n + 1);
  const auto last = static_cast<std::size_t>(terms - 1);
  constexpr std::size_t kLines = 3;
  const std::vector<double> original = RandomValues((last + 1) * kLines, 3);
  std::vector<double> panel = original, alone(last + 1), work;
  for (std::size_t j = 0; j <= last; ++j) alone[j] = original[j * kLines];
  const ChebyshevTransform transform(terms);
  double* lines[kLines] = {panel.data(), panel.data() + 1, panel.data() + 2};
  double* single[1] = {alone.data()};
  transform.ToCoefficients(lines, kLines, kLines, work);
  transform.ToCoefficients(single, 1, 1, work);
  const long double pi = std::numbers::pi_v<long double>;
  const double tolerance = 64 * DBL_EPSILON * std::log2(static_cast<double>(last) + 2);
  for (std::size_t p = 0; p < kLines; ++p) {
    for (std::size_t k = 0; k <= last; ++k) {
      long double sum = 0;
      for (std::size_t j = 0; j <= last; ++j) {
        const long double weight = j == 0 || j == last ? 0.5L : 1.0L;
        sum += weight * original[j * kLines + p] *
               std::cos(pi * static_cast<long double>((j * k) % (2 * last)) / last);
      }
      const long double c = sum * 2 / last * (k == 0 || k == last ? 0.5L : 1.0L);
      EXPECT_NEAR(panel[k * kLines + p], static_cast<double>(c), tolerance) << p << "," << k;
    }
  }
  for (std::size_t k = 0; k <= last; ++k) {
    EXPECT_NEAR(alone[k], panel[k * kLines], tolerance) << k;
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

// Lines 0 and 1 would be paired; a NaN in line 0 must not reach line 1.
TEST(ChebyshevTransform, ANaNStaysInItsOwnLine) {
  std::vector<double> panel(2 * 9), work;
  for (std::size_t j = 0; j < 9; ++j) panel[2 * j] = 1.0, panel[2 * j + 1] = 2.0;
  panel[2 * 4] = std::nan("");
  double* lines[2] = {panel.data(), panel.data() + 1};
  ChebyshevTransform(9).ToCoefficients(lines, 2, 2, work);
  EXPECT_TRUE(std::isnan(panel[0]));
  EXPECT_EQ(panel[1], 2.0);
  for (std::size_t k = 1; k < 9; ++k) EXPECT_NEAR(panel[2 * k + 1], 0.0, 16 * DBL_EPSILON) << k;
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
    std::vector<double> line(n), work;
    for (std::size_t start = 0; start < coef.size(); ++start) {
      if ((start / coef.stride(k)) % n != 0) continue;  // not the first element of a line
      for (std::size_t i = 0; i < n; ++i) line[i] = expected.data()[start + i * coef.stride(k)];
      double* single[1] = {line.data()};
      transform.ToCoefficients(single, 1, 1, work);
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
