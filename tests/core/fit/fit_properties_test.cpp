// The fit end to end without the script engine: gather a specification, sample a C++
// function at the nodes, solve along every dimension, and check the coefficients and the
// evaluator against the samples.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <string>

#include "eval/evaluator.h"
#include "fit/basis.h"
#include "fit/solver.h"
#include "model/gather_specs.h"

namespace quon {
namespace {

using Function = std::function<double(const std::array<double, 4>&)>;

ProblemModel Gathered(const std::vector<VariableFields>& variables) {
  ProblemModel model;
  model.AllocatePerVariableArrays();
  model.LastVar = static_cast<int32_t>(variables.size()) - 1;
  EntryFields fields;
  fields.Variables = variables;
  GatherSpecs(model, fields);
  return model;
}

double NodeValue(const ProblemModel& model, int k, int32_t j) {
  const auto s = static_cast<std::size_t>(k);
  return static_cast<double>(j) * model.NodeStep[s] + model.LowerLimit[s];
}

// Samples f on the grid, the first index fastest, then solves along every variable in use.
SolveOutcome Fit(ProblemModel& model, const Function& f) {
  std::array<int32_t, 4> j{};
  for (j[3] = 0; j[3] <= model.LastTerm[3]; ++j[3])
    for (j[2] = 0; j[2] <= model.LastTerm[2]; ++j[2])
      for (j[1] = 0; j[1] <= model.LastTerm[1]; ++j[1])
        for (j[0] = 0; j[0] <= model.LastTerm[0]; ++j[0]) {
          std::array<double, 4> x{};
          for (int k = 0; k <= model.LastVar; ++k) {
            x[static_cast<std::size_t>(k)] = NodeValue(model, k, j[static_cast<std::size_t>(k)]);
          }
          model.Coef(j[0], j[1], j[2], j[3]) = f(x);
        }
  for (int k = 0; k <= model.LastVar; ++k) {
    BasisMatrix m = BuildBasisMatrix(model, k);
    if (SolveAlongDimension(m, model.Coef, k) == SolveOutcome::Singular) {
      return SolveOutcome::Singular;
    }
  }
  model.HaveResults = true;
  return SolveOutcome::Solved;
}

double EvaluateAt(ProblemModel& model, const std::array<double, 4>& x) {
  for (std::size_t k = 0; k < 4; ++k) {
    model.EvalOffset[k] = static_cast<int>(k) <= model.LastVar ? x[k] - model.Center[k] : 0.0;
  }
  Evaluate(model);
  return model.ApproxValue;
}

VariableFields Power(const char* lower, const char* upper, const char* terms,
                     const char* centre = "*") {
  return {lower, upper, centre, "*", terms, true};
}

VariableFields Trig(const char* lower, const char* upper, const char* terms,
                    const char* period = "*", const char* centre = "*") {
  return {lower, upper, centre, period, terms, false};
}

TEST(Fit, SquareOnZeroToTwoGivesOneTwoOne) {
  ProblemModel model = Gathered({Power("0", "2", "3")});
  ASSERT_EQ(Fit(model, [](const auto& x) { return x[0] * x[0]; }), SolveOutcome::Solved);
  EXPECT_EQ(model.Coef(0, 0, 0, 0), 1.0);
  EXPECT_EQ(model.Coef(1, 0, 0, 0), 2.0);
  EXPECT_EQ(model.Coef(2, 0, 0, 0), 1.0);
  EXPECT_EQ(EvaluateAt(model, {1.5, 0, 0, 0}), 2.25);
}

TEST(Fit, TwoPowerTermsGiveValueAtCentreAndSlope) {
  ProblemModel model = Gathered({Power("-1.5", "2.5", "2", "0.25")});
  const auto f = [](const auto& x) { return std::exp(x[0]); };
  ASSERT_EQ(Fit(model, f), SolveOutcome::Solved);
  const double a = -1.5, b = 2.5, c = 0.25;
  const double s = (std::exp(b) - std::exp(a)) / (b - a);
  EXPECT_NEAR(model.Coef(1, 0, 0, 0), s, 8 * DBL_EPSILON * s);
  EXPECT_NEAR(model.Coef(0, 0, 0, 0), std::exp(a) - (a - c) * s, 16 * DBL_EPSILON * s);
}

struct PropertyCase {
  const char* name;
  std::vector<VariableFields> variables;
};

class FitProperties : public ::testing::TestWithParam<PropertyCase> {};

double Smooth(const std::array<double, 4>& x) {
  return std::exp(0.3 * x[0]) * std::cos(0.5 * x[1]) + 0.2 * x[2] * x[3] + std::sin(x[0] + x[3]);
}

// The approximation takes the sampled value at every node, evaluated by the evaluator.
TEST_P(FitProperties, EvaluatorAgreesWithFitAtNodes) {
  ProblemModel model = Gathered(GetParam().variables);
  ASSERT_EQ(Fit(model, Smooth), SolveOutcome::Solved);
  std::array<int32_t, 4> j{};
  for (j[3] = 0; j[3] <= model.LastTerm[3]; ++j[3])
    for (j[2] = 0; j[2] <= model.LastTerm[2]; ++j[2])
      for (j[1] = 0; j[1] <= model.LastTerm[1]; ++j[1])
        for (j[0] = 0; j[0] <= model.LastTerm[0]; ++j[0]) {
          std::array<double, 4> x{};
          for (int k = 0; k <= model.LastVar; ++k) {
            x[static_cast<std::size_t>(k)] = NodeValue(model, k, j[static_cast<std::size_t>(k)]);
          }
          ASSERT_NEAR(EvaluateAt(model, x), Smooth(x), 1e-9)
              << j[0] << "," << j[1] << "," << j[2] << "," << j[3];
        }
}

// Multiplying the coefficients by each variable's basis matrix along its dimension gives
// the samples back: the basis and the solver agree without the evaluator in between.
TEST_P(FitProperties, ReproducesSamplesAtEveryNode) {
  ProblemModel model = Gathered(GetParam().variables);
  ASSERT_EQ(Fit(model, Smooth), SolveOutcome::Solved);
  CoefArray values = model.Coef;
  for (int k = 0; k <= model.LastVar; ++k) {
    const BasisMatrix m = BuildBasisMatrix(model, k);
    const CoefArray in = values;
    std::array<int32_t, 4> i{};
    for (i[3] = 0; i[3] < in.extent(3); ++i[3])
      for (i[2] = 0; i[2] < in.extent(2); ++i[2])
        for (i[1] = 0; i[1] < in.extent(1); ++i[1])
          for (i[0] = 0; i[0] < in.extent(0); ++i[0]) {
            std::array<int32_t, 4> term = i;
            double sum = 0.0;
            for (int32_t t = 0; t < m.size(); ++t) {
              term[static_cast<std::size_t>(k)] = t;
              sum += m(i[static_cast<std::size_t>(k)], t) * in(term[0], term[1], term[2], term[3]);
            }
            values(i[0], i[1], i[2], i[3]) = sum;
          }
  }
  std::array<int32_t, 4> j{};
  for (j[3] = 0; j[3] < values.extent(3); ++j[3])
    for (j[2] = 0; j[2] < values.extent(2); ++j[2])
      for (j[1] = 0; j[1] < values.extent(1); ++j[1])
        for (j[0] = 0; j[0] < values.extent(0); ++j[0]) {
          std::array<double, 4> x{};
          for (int k = 0; k <= model.LastVar; ++k) {
            x[static_cast<std::size_t>(k)] = NodeValue(model, k, j[static_cast<std::size_t>(k)]);
          }
          ASSERT_NEAR(values(j[0], j[1], j[2], j[3]), Smooth(x), 1e-9);
        }
}

const PropertyCase kPropertyCases[] = {
    {"OnePowerVariable", {Power("-1", "2", "7")}},
    {"OneTrigVariable", {Trig("-1", "2", "6")}},
    {"PowerAndTrig", {Power("0", "1", "4"), Trig("-2", "1", "5", "7")}},
    {"FourMixedVariables",
     {Power("-1", "1", "4"), Trig("0", "3", "5", "8", "1"), Power("2", "-1", "3", "0"),
      Trig("-0.5", "0.5", "4", "2.5")}},
};

INSTANTIATE_TEST_SUITE_P(Fit, FitProperties, ::testing::ValuesIn(kPropertyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Fit, ReproducesPolynomialsOfTheFittedDegreeBetweenNodes) {
  ProblemModel model = Gathered({Power("-2", "3", "4", "0.5"), Power("0", "1", "3")});
  const auto p = [](const std::array<double, 4>& x) {
    return 1 - 2 * x[0] + 0.5 * x[0] * x[0] * x[0] + x[1] * x[1] * x[0] - 3 * x[1];
  };
  ASSERT_EQ(Fit(model, p), SolveOutcome::Solved);
  for (const double x0 : {-1.7, 0.123, 2.9}) {
    for (const double x1 : {0.05, 0.77}) {
      EXPECT_NEAR(EvaluateAt(model, {x0, x1, 0, 0}), p({x0, x1, 0, 0}), 1e-12);
    }
  }
}

TEST(Fit, TrigIntervalOfOnePeriodWithRoundingResiduesIsNotSingular) {
  // The end nodes are the same point modulo the period; their rows differ by residues.
  ProblemModel model = Gathered({Trig("0", "6.28318530717959", "3")});
  model.UpperLimit[0] = model.Pi + model.Pi;
  model.NodeStep[0] = (model.UpperLimit[0] - model.LowerLimit[0]) / 2;
  ASSERT_EQ(Fit(model, [](const auto& x) { return 1.0 + x[0]; }), SolveOutcome::Solved);
  EXPECT_GT(std::fabs(model.Coef(1, 0, 0, 0)), 1e10);
}

TEST(Fit, TrigIntervalOfOnePeriodWithEqualRowsIsSingular) {
  ProblemModel model = Gathered({Trig("-48.75", "0", "2", "*", "0")});
  model.UpperLimit[0] = -48.75 + (model.Pi + model.Pi);
  model.NodeStep[0] = model.UpperLimit[0] - model.LowerLimit[0];
  const BasisMatrix m = BuildBasisMatrix(model, 0);
  ASSERT_EQ(m(0, 1), m(1, 1));  // the two rows agree bit for bit
  EXPECT_EQ(Fit(model, [](const auto& x) { return x[0]; }), SolveOutcome::Singular);
  EXPECT_FALSE(model.HaveResults);
}

TEST(Fit, EqualLimitsGiveAZeroColumnAndSingular) {
  ProblemModel model = Gathered({Trig("1", "1", "3", "*", "1")});
  EXPECT_EQ(Fit(model, [](const auto&) { return 1.0; }), SolveOutcome::Singular);
}

TEST(Fit, ZeroPeriodPutsNaNOnTheDiagonalAndIsSingular) {
  ProblemModel model = Gathered({Trig("0", "1", "3", "0", "0")});
  EXPECT_EQ(Fit(model, [](const auto&) { return 1.0; }), SolveOutcome::Singular);
}

}  // namespace
}  // namespace quon
