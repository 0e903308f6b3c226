// The approximation on a tensor grid agrees with the evaluator at every point of it.
#include "core/eval/grid_approximation.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "core/eval/evaluator.h"
#include "core/eval/variable_terms.h"
#include "core/model/node_geometry.h"
#include "support/fitted_model.h"

namespace quon {
namespace {

using testing::VarSpec;

struct GridCase {
  const char* name;
  std::vector<VarSpec> vars;
};

class GridApproximation : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridApproximation, AgreesWithTheEvaluatorAtEveryPoint) {
  const GridCase& c = GetParam();
  std::mt19937_64 random(20261206);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  ProblemModel model =
      testing::FittedModel(c.vars, testing::Always([](std::span<const double>) { return 0.0; }));
  for (std::size_t i = 0; i < model.Coef.size(); ++i) model.Coef.data()[i] = unit(random);
  model.HaveResults = true;

  std::array<std::vector<double>, 4> coords;
  for (std::size_t k = 0; k < c.vars.size(); ++k) {
    for (int i = 0; i < 3 + static_cast<int>(k); ++i) {
      coords[k].push_back(c.vars[k].Lower +
                          (c.vars[k].Upper - c.vars[k].Lower) * (unit(random) + 1) / 2);
    }
  }
  const std::vector<double> values = ApproximationOnGrid(model, coords);

  std::array<std::size_t, 4> at{};
  std::size_t expectedSize = 1;
  for (std::size_t k = 0; k < c.vars.size(); ++k) expectedSize *= coords[k].size();
  ASSERT_EQ(values.size(), expectedSize);
  double sumOfMagnitudes = 0.0;
  for (std::size_t i = 0; i < model.Coef.size(); ++i)
    sumOfMagnitudes += std::fabs(model.Coef.data()[i]);
  for (const double value : values) {
    std::vector<double> x;
    for (std::size_t k = 0; k < c.vars.size(); ++k) x.push_back(coords[k][at[k]]);
    // Every term is at most (largest |x - c|)^degree; 10^4 bounds them for these shapes.
    EXPECT_NEAR(value, Evaluate(model, x), 64 * DBL_EPSILON * sumOfMagnitudes * 1e4);
    for (std::size_t k = 0; k < c.vars.size() && ++at[k] == coords[k].size(); ++k) at[k] = 0;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, GridApproximation,
    ::testing::Values(GridCase{"OnePowerVariable", {{"x", false, 7, -2, 3, 0.5, 0}}},
                      GridCase{"OneTrigVariableOddCount", {{"x", true, 7, -2, 3, 0.5, 4}}},
                      GridCase{"OneTrigVariableEvenCount", {{"x", true, 6, 0, 6, 1, 6.5}}},
                      GridCase{"MixedFourVariables",
                               {{"x", false, 4, -5, 5, 0, 0},
                                {"y", true, 5, -5, 5, 1, 7},
                                {"z", false, 3, 0, 2, 1, 0},
                                {"t", true, 2, -1, 1, 0, 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridApproximation, RefusesCoefficientsOfAnotherShape) {
  ProblemModel model = testing::FittedModel(
      {{"x", false, 3, 0, 1, 0, 0}}, testing::Always([](std::span<const double>) { return 1.0; }));
  model.LastTerm[0] = 4;
  EXPECT_THROW(ApproximationOnGrid(model, {{{0.5}}}), std::logic_error);
}

TEST(GridApproximation, TermsOfATrigVariableRunOneSineCosine) {
  ProblemModel model;
  model.LastTerm[0] = 4;
  model.Kind[0] = TermKind::Trigonometric;
  model.Center[0] = 1.0;
  model.Period[0] = 8.0;
  const std::vector<double> terms = TermValues(VariableGeometry(model, 0), 2.0);  // t = pi / 4
  ASSERT_EQ(terms.size(), 5u);
  EXPECT_EQ(terms[0], 1.0);
  EXPECT_NEAR(terms[1], std::sin(M_PI / 4), 1e-15);
  EXPECT_NEAR(terms[2], std::cos(M_PI / 4), 1e-15);
  EXPECT_NEAR(terms[3], 1.0, 1e-15);
  EXPECT_NEAR(terms[4], 0.0, 1e-15);
}

}  // namespace
}  // namespace quon
