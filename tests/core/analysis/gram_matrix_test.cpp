// The Gram matrix of a variable's terms against Gauss-Legendre quadrature of the products
// of the terms' values.
#include "core/analysis/gram_matrix.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "core/analysis/analysis_error.h"
#include "core/eval/variable_terms.h"
#include "support/gauss_legendre.h"

namespace quon {
namespace {

struct GramCase {
  const char* name;
  NodeGeometry geometry;
  double lo;
  double hi;
};

class TermGramMatrix : public ::testing::TestWithParam<GramCase> {};

TEST_P(TermGramMatrix, EqualsQuadratureOfTheTermProducts) {
  const GramCase& c = GetParam();
  const SquareMatrix gram = TermGram(c.geometry, c.lo, c.hi);
  std::vector<double> nodes, weights;
  testing::GaussLegendre(80, nodes, weights);
  const std::size_t n = gram.Size;
  std::vector<double> quadrature(n * n, 0.0);
  std::vector<double> magnitude(n * n, 0.0);
  for (std::size_t q = 0; q < nodes.size(); ++q) {
    const double x = c.lo + (c.hi - c.lo) * (nodes[q] + 1) / 2;
    const std::vector<double> terms = TermValues(c.geometry, x);
    for (std::size_t i = 0; i < n * n; ++i) {
      quadrature[i] += weights[q] / 2 * terms[i / n] * terms[i % n];
      magnitude[i] += weights[q] / 2 * std::fabs(terms[i / n] * terms[i % n]);
    }
  }
  for (std::size_t i = 0; i < n * n; ++i) {
    EXPECT_NEAR(gram.Values[i], quadrature[i], 256 * DBL_EPSILON * magnitude[i]) << i;
  }
  // Row 0 is the terms' means, the very numbers the products with the constant give.
  EXPECT_EQ(gram(0, 0), 1.0);
  for (std::size_t j = 0; j < n; ++j) EXPECT_EQ(gram(0, j), gram(j, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TermGramMatrix,
    ::testing::Values(
        GramCase{"PowerAboutTheMiddle", MakeGeometry(TermKind::Power, 9, -2, 2, 0, 0), -2, 2},
        GramCase{"PowerFarFromTheCentre", MakeGeometry(TermKind::Power, 12, 1, 3, -1, 0), 1, 3},
        GramCase{"PowerOnASubInterval", MakeGeometry(TermKind::Power, 6, -1, 1, 0.5, 0), -0.3, 0.1},
        GramCase{"TrigOverLessThanAPeriod",
                 MakeGeometry(TermKind::Trigonometric, 9, 0, 6, 1, 2 * M_PI), 0, 6},
        GramCase{"TrigOverSeveralPeriods",
                 MakeGeometry(TermKind::Trigonometric, 8, -1, 3, 0.5, 1.7), -1, 3},
        GramCase{"TrigOnATinyInterval", MakeGeometry(TermKind::Trigonometric, 7, 0, 1e-3, 0, 3), 0,
                 1e-3},
        GramCase{"ChebyshevOverItsInterval", MakeGeometry(TermKind::Chebyshev, 30, 1, 4, 0, 0), 1,
                 4},
        GramCase{"ChebyshevOnASubInterval", MakeGeometry(TermKind::Chebyshev, 10, -1, 1, 0, 0),
                 -0.3, 0.1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TermGramMatrix, OneIntervalOfOnePeriodMakesTheTrigTermsOrthogonal) {
  const SquareMatrix gram = TermGram(MakeGeometry(TermKind::Trigonometric, 6, 0, 3, 1, 3), 0, 3);
  for (std::size_t i = 0; i < gram.Size; ++i) {
    for (std::size_t j = 0; j < gram.Size; ++j) {
      EXPECT_NEAR(gram(i, j), i != j ? 0.0 : i == 0 ? 1.0 : 0.5, 8 * DBL_EPSILON);
    }
  }
  EXPECT_THROW(TermGram(MakeGeometry(TermKind::Trigonometric, 6, 0, 3, 1, 0), 0, 3), AnalysisError);
  EXPECT_THROW(TermGram(MakeGeometry(TermKind::Power, 400, 0, 3, -1e3, 0), 0, 3), AnalysisError);
}

}  // namespace
}  // namespace quon
