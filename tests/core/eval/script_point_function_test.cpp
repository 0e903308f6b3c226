// The user's function through the script engine, for the check: the same values and
// failures as fna, on copies of the globals that leave the engine's own untouched.
#include "core/eval/script_point_function.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/eval/accuracy_check.h"
#include "engine/number_text.h"
#include "support/fitted_problem.h"

namespace quon {
namespace {

double ValueAt(PointFunctionSource& source, std::vector<double> point, int32_t* error = nullptr) {
  double value = 0.0;
  const int32_t number = source.NewEvaluator()->Value(point, value);
  if (error != nullptr) *error = number;
  return number == 0 ? value : NAN;
}

TEST(ScriptPointFunction, GivesTheValuesFnaGives) {
  ScriptEnvironment engine;
  engine.ExecuteStatement("a=2.5");
  ScriptPointFunctionSource source(engine, "a*x^2 - Sinh(y) + pi", {"x", "y"});
  for (const auto& [x, y] : {std::pair{0.5, -1.0}, {3.0, 2.0}, {-7.25, 0.0}}) {
    engine.ExecuteStatement("x=" + TextForm(x));
    engine.ExecuteStatement("y=" + TextForm(y));
    EXPECT_EQ(ValueAt(source, {x, y}), engine.fna("a*x^2 - Sinh(y) + pi")) << x << ", " << y;
  }
}

// A name as the fit's statements read it: blanks around it do not make another variable.
TEST(ScriptPointFunction, FindsTheVariableTheFitsStatementsSet) {
  ScriptEnvironment engine;
  ScriptPointFunctionSource source(engine, "Exp(x)", {"x \t\r"});
  EXPECT_EQ(ValueAt(source, {1.0}), std::exp(1.0));
}

struct FailureCase {
  const char* name;
  const char* equation;
  double x;
  int32_t number;
  bool failsEverywhere;
};

class ScriptPointFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ScriptPointFailures, ReturnTheNumberFnaWouldFailWith) {
  const FailureCase& c = GetParam();
  std::vector<std::string> messages;
  ScriptEnvironment engine([&](const std::string& text) { messages.push_back(text); });
  ScriptPointFunctionSource source(engine, c.equation, {"x"});
  int32_t error = 0;
  ValueAt(source, {c.x}, &error);
  EXPECT_EQ(error, c.number);
  EXPECT_TRUE(messages.empty()) << "the check shows no message boxes";
  // A failure recorded in a copy does not stay: the next point succeeds.
  if (!c.failsEverywhere) {
    EXPECT_FALSE(std::isnan(ValueAt(source, {0.25})));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ScriptPointFailures,
    ::testing::Values(FailureCase{"MathFunctionOutOfRange", "Asin(2*x)", 1.0, 5, false},
                      FailureCase{"DivisionByZero", "1/x", 0.0, 11, false},
                      FailureCase{"Overflow", "Exp(x)", 1000.0, 6, false},
                      FailureCase{"TextThatIsNoNumber", "\"abc\" & x", 1.0, 13, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptPointFunction, ASyntaxErrorIsShownOnceAndRefused) {
  std::vector<std::string> messages;
  ScriptEnvironment engine([&](const std::string& text) { messages.push_back(text); });
  EXPECT_THROW(ScriptPointFunctionSource(engine, "x +* 2", {"x"}), ScriptFailure);
  EXPECT_EQ(messages.size(), 1u);
}

TEST(ScriptPointFunction, ParallelAndSerialValuesAgree) {
  ScriptEnvironment engine;
  ScriptPointFunctionSource source(engine, "x^2*sin(y)+4*cos(z)-t", {"x", "y", "z", "t"});
  ASSERT_TRUE(source.ThreadSafe());
  std::vector<double> points;
  // Enough points for several threads.
  for (int i = 0; i < 16000; ++i) points.push_back(-5 + 0.000625 * i);
  std::vector<double> values;
  std::vector<int32_t> errors;
  EvaluateAtPoints(source, 4, points, values, errors);
  ASSERT_EQ(values.size(), 4000u);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double* p = points.data() + 4 * i;
    ASSERT_EQ(errors[i], 0);
    EXPECT_EQ(values[i], ValueAt(source, {p[0], p[1], p[2], p[3]}));
  }
}

// Many points at once, with failures (5, 11 and 6) scattered among them, give each point
// the value or the number it gives alone.
TEST(ScriptPointFunction, ManyPointsAtOnceAgreeWithOneAtATime) {
  ScriptEnvironment engine;
  ScriptPointFunctionSource source(engine, "Sqr(x) + 1/y + Exp(x*y)", {"x", "y"});
  std::vector<double> points;
  for (int i = 0; i < 700; ++i) points.insert(points.end(), {i % 7 - 2.0, i % 5 * 200.0});
  std::vector<double> values(700);
  std::vector<int32_t> errors(700);
  source.NewEvaluator()->Values(points.data(), 2, 700, values.data(), errors.data());
  for (std::size_t i = 0; i < values.size(); ++i) {
    int32_t error = 0;
    const double alone = ValueAt(source, {points[2 * i], points[2 * i + 1]}, &error);
    ASSERT_EQ(errors[i], error) << i;
    if (error == 0) {
      EXPECT_EQ(values[i], alone) << i;
    }
  }
}

TEST(ScriptPointFunction, CheckAfterTheFitLeavesTheVariablesAtTheLastNode) {
  const VariableFields six{"-5", "5", "*", "*", "6", true};
  testing::FittedProblem f("x^2*sin(y)+4*cos(z)-t",
                           {{"x", six}, {"y", six}, {"z", six}, {"t", six}});
  ScriptPointFunctionSource source(f.engine, f.model.Equation, f.model.VarName);
  const AccuracyResult result = CheckAccuracy(f.model, source);
  EXPECT_GT(result.CheckPoints, 0);
  EXPECT_EQ(result.FailedPoints, 0);
  // The fit left every variable at its last node, 5; the check changed none of them.
  for (const char* name : {"x", "y", "z", "t"}) EXPECT_EQ(f.engine.fna(name), 5.0) << name;
}

}  // namespace
}  // namespace quon
