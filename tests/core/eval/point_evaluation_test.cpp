#include "core/eval/point_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/number_text.h"
#include "support/fitted_problem.h"

namespace quon {
namespace {

using Fitted = testing::FittedProblem;

// x^2 over [0, 2] (the parabola), changed as the row says, evaluated at the typed text.
struct PointCase {
  const char* name;
  const char* typed;
  const char* approx;  // the label's text, or its start when the row ends in "..."
  const char* function;
  const char* equation = nullptr;  // replaces x^2 after the fit
  const char* constant = nullptr;  // a user constant of the problem
  bool haveResults = true;
  bool pointSent = true;
};

bool Shows(const std::string& text, std::string expected) {
  if (expected.ends_with("...")) return text.starts_with(expected.substr(0, expected.size() - 3));
  return text == expected;
}

class PointEvaluationTable : public ::testing::TestWithParam<PointCase> {};

TEST_P(PointEvaluationTable, LabelsSayTheValueOrWhyThereIsNone) {
  const PointCase& c = GetParam();
  Fitted f;
  if (c.equation != nullptr) f.model.Equation = c.equation;
  if (c.constant != nullptr) {
    f.model.Constants[0] = c.constant;
    f.model.ConstCount = 1;
  }
  f.model.HaveResults = c.haveResults;
  const PointEvaluation result = EvaluateAtPoint(f.model, f.engine, {c.typed});
  EXPECT_PRED2(Shows, result.ApproxText, c.approx);
  EXPECT_PRED2(Shows, result.FunctionText, c.function);
  EXPECT_EQ(result.PointSent, c.pointSent);
}

INSTANTIATE_TEST_SUITE_P(
    Parabola, PointEvaluationTable,
    ::testing::Values(PointCase{"OneAndAHalf", "1.5", "2.25", "2.25"},
                      PointCase{"EmptyTextCountsAsZero", "", "0", "0"},
                      PointCase{"CentreGivesTheConstantCoefficient", "1", "1", "1"},
                      PointCase{"LeadingNumberOfJunk", "-0.5abc", "0.25", "0.25"},
                      PointCase{"BlanksAreDropped", " 2 . 5", "6.25", "6.25"},
                      PointCase{"NoCurrentFit", "2", NoCurrentFitText, "4", nullptr, nullptr,
                                false},
                      PointCase{"FunctionOverflows", "1000", "1000000", "Error 6...", "exp(x)"},
                      PointCase{"ScriptError", "1", "1", "Error 1002...", "x+"},
                      PointCase{"ConstantRefused", "1.5", "not evaluated...", "not evaluated...",
                                nullptr, "a=(", true, false},
                      PointCase{"BeyondRange", "1e999", "not evaluated: the value of x...",
                                "not evaluated: the value of x...", nullptr, nullptr, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointEvaluation, AScriptErrorIsShownOnce) {
  Fitted f;
  f.model.Equation = "x+";
  EvaluateAtPoint(f.model, f.engine, {"1"});
  EXPECT_EQ(f.messages.size(), 1u);
}

TEST(PointEvaluation, TwoVariablesAgreeAtANodeAndAZeroPeriodIsSaidInTheApproximation) {
  Fitted f(testing::TwoVariableProblem);
  const PointEvaluation result = EvaluateAtPoint(f.model, f.engine, {"0", "3"});
  EXPECT_EQ(result.FunctionText, TextForm(std::sin(3.0)));
  EXPECT_NEAR(std::stod(result.ApproxText), std::sin(3.0), 1e-12);
  EXPECT_EQ(f.model.EvalPoint[1], 3.0);
  f.model.Period[1] = 0;
  const PointEvaluation zeroPeriod = EvaluateAtPoint(f.model, f.engine, {"0", "0"});
  EXPECT_TRUE(zeroPeriod.ApproxText.starts_with("Error 11")) << zeroPeriod.ApproxText;
  EXPECT_EQ(zeroPeriod.FunctionText, "0");
}

}  // namespace
}  // namespace quon
