#include "core/fit/solver.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "support/grid_walk.h"

namespace quon {
namespace {

// The elimination written the plain way: one operation at a time on whole slices, exactly
// in the order of the algorithm. The optimised solver must give the same bits.
bool ReferenceSolve(BasisMatrix& m, CoefArray& coef, int k) {
  const int32_t n = m.size();
  testing::NodeIndex lines{coef.extent(0) - 1, coef.extent(1) - 1, coef.extent(2) - 1,
                           coef.extent(3) - 1};
  lines[static_cast<std::size_t>(k)] = 0;        // one line per index of the other dimensions
  const auto forEachLine = [&](auto&& action) {  // action(offset of element 0, stride)
    testing::ForEachNode(lines, [&](const testing::NodeIndex& i) {
      action(coef.offset(i[0], i[1], i[2], i[3]), coef.stride(k));
    });
  };
  double* x = coef.data();
  for (int32_t p = 0; p < n - 1; ++p) {
    double pivotMax = std::fabs(m(p, p));
    int32_t pivotRow = p;
    for (int32_t r = p + 1; r < n; ++r) {
      if (std::fabs(m(r, p)) > pivotMax) {
        pivotMax = std::fabs(m(r, p));
        pivotRow = r;
      }
    }
    if (pivotMax == 0.0 || std::isnan(pivotMax)) continue;
    if (pivotRow != p) {
      for (int32_t c = 0; c < n; ++c) std::swap(m(p, c), m(pivotRow, c));
      forEachLine(
          [&](std::size_t o, std::size_t s) { std::swap(x[o + p * s], x[o + pivotRow * s]); });
    }
    for (int32_t r = p + 1; r < n; ++r) {
      const double f = m(r, p) / m(p, p);
      for (int32_t c = p; c < n; ++c) m(r, c) = m(r, c) - f * m(p, c);
      forEachLine(
          [&](std::size_t o, std::size_t s) { x[o + r * s] = x[o + r * s] - f * x[o + p * s]; });
    }
  }
  for (int32_t r = n - 1; r >= 0; --r) {
    if (m(r, r) == 0.0 || std::isnan(m(r, r))) return true;
    forEachLine([&](std::size_t o, std::size_t s) {
      double backSum = 0.0;
      for (int32_t c = r + 1; c < n; ++c) backSum = backSum + m(r, c) * x[o + c * s];
      x[o + r * s] = (x[o + r * s] - backSum) / m(r, r);
    });
  }
  return false;
}

bool SameBits(const double* a, const double* b, std::size_t count) {
  return std::memcmp(a, b, count * sizeof(double)) == 0;
}

enum class MatrixKind { Random, WithZeroColumn, WithNaNs, WithInfinities, DuplicateRows, Tiny };

BasisMatrix MakeMatrix(int32_t n, MatrixKind kind, std::mt19937_64& random) {
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  BasisMatrix m(n);
  for (int32_t r = 0; r < n; ++r)
    for (int32_t c = 0; c < n; ++c) m(r, c) = uniform(random);
  for (int32_t r = 0; r < n; ++r) m(r, 0) = 1.0;  // like every basis: ties in column 0
  switch (kind) {
    case MatrixKind::Random:
      break;
    case MatrixKind::WithZeroColumn:
      for (int32_t r = 0; r < n; ++r) m(r, n / 2) = 0.0;
      break;
    case MatrixKind::WithNaNs:
      m(n / 2, n / 2) = std::numeric_limits<double>::quiet_NaN();
      m(n - 1, 1) = std::numeric_limits<double>::quiet_NaN();
      break;
    case MatrixKind::WithInfinities:
      m(n - 1, n - 1) = std::numeric_limits<double>::infinity();
      break;
    case MatrixKind::DuplicateRows:
      for (int32_t c = 0; c < n; ++c) m(n - 1, c) = m(0, c);
      break;
    case MatrixKind::Tiny:
      for (int32_t r = 0; r < n; ++r)
        for (int32_t c = 1; c < n; ++c) m(r, c) *= 1e-300;
      break;
  }
  return m;
}

struct SolverCase {
  const char* name;
  std::array<int32_t, 4> extents;
  MatrixKind kind;
};

class SolverMatchesReference : public ::testing::TestWithParam<SolverCase> {};

TEST_P(SolverMatchesReference, BitForBitAlongEveryDimension) {
  const SolverCase& c = GetParam();
  std::mt19937_64 random(1234);
  std::uniform_real_distribution<double> uniform(-10.0, 10.0);
  for (int k = 0; k < 4; ++k) {
    const int32_t n = c.extents[static_cast<std::size_t>(k)];
    CoefArray coef;
    coef.Allocate({c.extents[0] - 1, c.extents[1] - 1, c.extents[2] - 1, c.extents[3] - 1});
    for (std::size_t i = 0; i < coef.size(); ++i) coef.data()[i] = uniform(random);
    coef.data()[coef.size() / 3] = std::numeric_limits<double>::infinity();
    coef.data()[coef.size() / 2] = -0.0;
    CoefArray expected = coef;
    const BasisMatrix original = MakeMatrix(n, c.kind, random);
    BasisMatrix reference = original;
    const bool singular = ReferenceSolve(reference, expected, k);
    // Every instruction set the processor offers, on one thread and on several.
    for (const LaneIsa isa : SupportedLaneIsas()) {
      for (const std::size_t threads : {1, 0}) {
        SCOPED_TRACE(::testing::Message() << "dimension " << k << ", instruction set "
                                          << static_cast<int>(isa) << ", threads " << threads);
        CoefArray solved = coef;
        BasisMatrix m = original;
        const SolveOutcome outcome = SolveAlongDimension(m, solved, k, {isa, threads});
        EXPECT_EQ(outcome == SolveOutcome::Singular, singular);
        EXPECT_TRUE(SameBits(solved.data(), expected.data(), coef.size()));
        EXPECT_TRUE(SameBits(m.row(0), reference.row(0), std::size_t(n) * std::size_t(n)));
      }
    }
  }
}

const SolverCase kSolverCases[] = {
    {"SmallFourDimensional", {5, 4, 3, 6}, MatrixKind::Random},
    {"ManyShortLinesGathered", {3, 7, 11, 13}, MatrixKind::Random},
    {"WideSlicesInPlace", {40, 48, 2, 9}, MatrixKind::Random},
    {"PanelsSplitAcrossWideSlices", {10, 10, 5, 48}, MatrixKind::Random},
    {"GatheredLinesNotAMultipleOfThePanel", {48, 10, 10, 5}, MatrixKind::Random},
    {"ZeroColumnIsSingular", {6, 5, 34, 4}, MatrixKind::WithZeroColumn},
    {"NaNOnTheDiagonalIsSingular", {6, 40, 3, 5}, MatrixKind::WithNaNs},
    {"InfinityIsCarried", {7, 5, 36, 3}, MatrixKind::WithInfinities},
    {"DuplicateRowsAreSingular", {4, 33, 4, 5}, MatrixKind::DuplicateRows},
    {"TinyEntriesOverflowTheCoefficients", {5, 6, 33, 3}, MatrixKind::Tiny},
    {"TwoTermsEach", {2, 2, 2, 2}, MatrixKind::Random},
    {"SingleTermDimensions", {1, 1, 1, 1}, MatrixKind::Random},
    {"ManyBlocksSharedByThreads", {24, 24, 24, 8}, MatrixKind::Random},
};

INSTANTIATE_TEST_SUITE_P(Solver, SolverMatchesReference, ::testing::ValuesIn(kSolverCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Solver, MismatchedMatrixIsRefused) {
  BasisMatrix m(3);
  CoefArray coef;
  coef.Allocate({3, 0, 0, 0});
  EXPECT_THROW(SolveAlongDimension(m, coef, 0), std::invalid_argument);
  EXPECT_THROW(SolveAlongDimension(m, coef, 4), std::invalid_argument);
}

}  // namespace
}  // namespace quon
