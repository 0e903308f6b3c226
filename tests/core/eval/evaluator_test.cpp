#include "core/eval/evaluator.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "support/grid_walk.h"

namespace quon {
namespace {

// A model with results: kinds per slot, LastTerm per slot, coefficients set by the test.
ProblemModel ModelWith(int lastVar, const std::array<int32_t, 4>& lastTerm,
                       const std::array<bool, 4>& trig) {
  ProblemModel model;
  model.LastVar = lastVar;
  for (std::size_t k = 0; k < 4; ++k) {
    model.LastTerm[k] = lastTerm[k];
    model.Kind[k] = trig[k] ? TermKind::Trigonometric : TermKind::Power;
    model.Period[k] = trig[k] ? 2.0 : 0.0;
  }
  model.Coef.Allocate(lastTerm);
  model.HaveResults = true;
  return model;
}

// Term m of one variable at offset d from the centre, written out directly.
double Term(bool trig, double period, int32_t m, double d) {
  if (!trig) return std::pow(d, m);
  if (m == 0) return 1.0;
  const double theta = 2.0 * std::numbers::pi * d / period;
  return m % 2 == 1 ? std::sin((m + 1) / 2 * theta) : std::cos(m / 2 * theta);
}

TEST(Evaluate, AtThePowerCentreOnlyTheConstantCountsAndWithoutResultsNothing) {
  ProblemModel model = ModelWith(0, {3, 0, 0, 0}, {false, false, false, false});
  model.Coef(0, 0, 0, 0) = 3.0;
  model.Coef(3, 0, 0, 0) = std::numeric_limits<double>::max();
  EXPECT_EQ(Evaluate(model, std::vector<double>{0.0}), 3.0);
  model.HaveResults = false;
  EXPECT_THROW(Evaluate(model, std::vector<double>{0.0}), std::logic_error);
}

struct TrigCase {
  const char* name;
  int32_t lastTerm;
};

class TrigSlotTest : public ::testing::TestWithParam<TrigCase> {};

// The terms 1, sin, cos, sin 2, cos 2, ... with coefficients 1, 10, 100, ...: each term
// shows up with its own weight, so a missing or swapped term changes the value.
TEST_P(TrigSlotTest, SumsOneSineCosineAndHigherMultiples) {
  const int32_t last = GetParam().lastTerm;
  ProblemModel model = ModelWith(0, {last, 0, 0, 0}, {true, false, false, false});
  double weight = 1.0;
  double expected = 0.0;
  const double d = 0.3;
  for (int32_t m = 0; m <= last; ++m, weight *= 10.0) {
    model.Coef(m, 0, 0, 0) = weight;
    expected += weight * Term(true, 2.0, m, d);
  }
  EXPECT_NEAR(Evaluate(model, std::vector<double>{d}), expected, 64 * DBL_EPSILON * weight);
}

const TrigCase kTrigCases[] = {
    {"OnlyConstant", 0},   {"ConstantAndSine", 1}, {"ConstantSineCosine", 2},
    {"AlsoSecondSine", 3}, {"SecondCosine", 4},    {"ManyTerms", 9},
};

INSTANTIATE_TEST_SUITE_P(Evaluator, TrigSlotTest, ::testing::ValuesIn(kTrigCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Four variables of both kinds, random coefficients: the nested sums agree with the sum
// over all index combinations of the coefficient times the product of the four terms.
TEST(Evaluate, FourVariablesAgreeWithTheSumOfProducts) {
  const std::array<int32_t, 4> last{3, 4, 2, 5};
  const std::array<bool, 4> trig{false, true, true, false};
  ProblemModel model = ModelWith(3, last, trig);
  model.Period = {0.0, 3.0, 0.5, 0.0};
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  for (std::size_t i = 0; i < model.Coef.size(); ++i) model.Coef.data()[i] = uniform(random);
  const std::array<double, 4> d{0.4, -1.1, 0.2, -0.6};
  double expected = 0.0;
  double scale = 0.0;
  testing::ForEachNode(last, [&](const testing::NodeIndex& i) {
    double product = 1.0;
    for (std::size_t k = 0; k < 4; ++k) product *= Term(trig[k], model.Period[k], i[k], d[k]);
    expected += model.Coef(i[0], i[1], i[2], i[3]) * product;
    scale += std::fabs(model.Coef(i[0], i[1], i[2], i[3]) * product);
  });
  EXPECT_NEAR(Evaluate(model, d), expected, 256 * DBL_EPSILON * scale);
}

struct FailureCase {
  const char* name;
  bool trig;
  double period;
  double offset;
  double coefficient;
  int32_t number;
};

class EvaluateFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(EvaluateFailureTest, ReportsTheNumericError) {
  const FailureCase& c = GetParam();
  ProblemModel model = ModelWith(0, {2, 0, 0, 0}, {c.trig, false, false, false});
  model.Period[0] = c.period;
  model.Coef(0, 0, 0, 0) = 1.0;
  model.Coef(2, 0, 0, 0) = c.coefficient;
  try {
    Evaluate(model, std::vector<double>{c.offset});
    ADD_FAILURE() << "no error";
  } catch (const EvaluationError& e) {
    EXPECT_EQ(e.Number, c.number);
    EXPECT_NE(std::string(e.what()), "");
  }
}

const FailureCase kFailures[] = {
    {"ZeroPeriod", true, 0.0, 1.0, 1.0, EvalDivisionByZero},
    {"PowerSumOverflows", false, 0.0, 1e200, 1e200, EvalOverflow},
    {"AngleStepOverflows", true, 1e-300, 1e10, 1.0, EvalOverflow},
    {"TrigSumOverflows", true, 2.0, 0.25, std::numeric_limits<double>::infinity(), EvalOverflow},
};

INSTANTIATE_TEST_SUITE_P(Evaluator, EvaluateFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Evaluate, CoefficientsOfAnotherShapeAreRefused) {
  ProblemModel model = ModelWith(0, {2, 0, 0, 0}, {false, false, false, false});
  model.LastTerm[0] = 3;
  EXPECT_THROW(Evaluate(model, std::vector<double>{0.0}), std::logic_error);
}

}  // namespace
}  // namespace quon
