#include "core/fit/fit_driver.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "core/eval/evaluator.h"
#include "support/fitted_model.h"
#include "support/recording_engine.h"

namespace quon {
namespace {

using test::RecordingEngine;
using testing::GatheredModel;
using Values = RecordingEngine::Values;

constexpr int32_t kSyntaxError = 1002;
constexpr int32_t kAlreadyReported = -2147352319;

VariableFields Variable(const char* lower, const char* upper, const char* terms, bool power = true,
                        const char* center = "*") {
  return {lower, upper, center, "*", terms, power};
}

TEST(FitDriver, ParabolaOnThreeNodesGivesOneTwoOne) {
  ProblemModel model = GatheredModel({"x"}, {Variable("0", "2", "3")});
  RecordingEngine engine([](const Values& v) { return v.at("x") * v.at("x"); });
  const FitOutcome outcome = Compute(model, engine);
  ASSERT_EQ(outcome.Status, FitStatus::Success);
  EXPECT_TRUE(model.HaveResults);
  EXPECT_EQ(engine.Statements, (std::vector<std::string>{"x= 0", "x= 1", "x= 2"}));
  EXPECT_NEAR(model.Coef(0, 0, 0, 0), 1.0, 8 * DBL_EPSILON);
  EXPECT_NEAR(model.Coef(1, 0, 0, 0), 2.0, 8 * DBL_EPSILON);
  EXPECT_NEAR(model.Coef(2, 0, 0, 0), 1.0, 8 * DBL_EPSILON);
  EXPECT_TRUE(engine.Errors.empty());
}

TEST(FitDriver, TwoAndThreeTermsAssignEachVariableOnlyWhenItsNodeChanges) {
  ProblemModel model =
      GatheredModel({"x", "y"}, {Variable("0", "1", "2"), Variable("0", "2", "3")});
  RecordingEngine engine([](const Values& v) { return v.at("x") + 10 * v.at("y"); });
  ASSERT_EQ(Compute(model, engine).Status, FitStatus::Success);
  EXPECT_EQ(engine.Statements, (std::vector<std::string>{"y= 0", "x= 0", "x= 1", "y= 1", "x= 0",
                                                         "x= 1", "y= 2", "x= 0", "x= 1"}));
  const std::vector<Values> order = {{{"x", 0}, {"y", 0}}, {{"x", 1}, {"y", 0}},
                                     {{"x", 0}, {"y", 1}}, {{"x", 1}, {"y", 1}},
                                     {{"x", 0}, {"y", 2}}, {{"x", 1}, {"y", 2}}};
  EXPECT_EQ(engine.Calls, order);
}

TEST(FitDriver, ReciprocalWithANodeAtZeroKeepsZeroThereAndFinishes) {
  // Samples 0 (the failed 1/0) and 1 on [0, 1] around 0.5: c0 - c1/2 = 0, c0 + c1/2 = 1.
  ProblemModel model = GatheredModel({"x"}, {Variable("0", "1", "2")});
  RecordingEngine engine([](const Values& v) {
    if (v.at("x") == 0) throw ScriptFailure(11, "Division by zero");
    return 1 / v.at("x");
  });
  ASSERT_EQ(Compute(model, engine).Status, FitStatus::Success);
  EXPECT_TRUE(model.HaveResults);
  EXPECT_EQ(engine.Calls.size(), 2u);
  EXPECT_EQ(engine.Errors, std::vector<int32_t>{11});
  EXPECT_DOUBLE_EQ(model.Coef(0, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(model.Coef(1, 0, 0, 0), 1.0);
}

struct RiddenCase {
  const char* name;
  int32_t number;
};

class RiddenOver : public ::testing::TestWithParam<RiddenCase> {};

TEST_P(RiddenOver, FailedSamplesStayZeroAndSamplingGoesOn) {
  ProblemModel model = GatheredModel({"x"}, {Variable("0", "3", "4")});
  RecordingEngine engine([&](const Values& v) {
    if (v.at("x") == 1 || v.at("x") == 2) throw ScriptFailure(GetParam().number, "failure");
    return 5.0;
  });
  ASSERT_EQ(Compute(model, engine).Status, FitStatus::Success);
  EXPECT_EQ(engine.Calls.size(), 4u);
  EXPECT_EQ(engine.Errors, (std::vector<int32_t>{GetParam().number, GetParam().number}));
  // Samples 5, 0, 0, 5 about the centre 1.5: even in (x - 1.5), so the odd terms vanish.
  EXPECT_NEAR(model.Coef(1, 0, 0, 0), 0.0, 64 * DBL_EPSILON);
  EXPECT_NEAR(model.Coef(3, 0, 0, 0), 0.0, 64 * DBL_EPSILON);
  EXPECT_GT(std::fabs(model.Coef(2, 0, 0, 0)), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Numbers, RiddenOver,
                         ::testing::Values(RiddenCase{"InvalidCall", 5}, RiddenCase{"Overflow", 6},
                                           RiddenCase{"DivisionByZero", 11},
                                           RiddenCase{"AlreadyReported", kAlreadyReported}),
                         [](const auto& info) { return std::string(info.param.name); });

struct EndingCase {
  const char* name;
  int32_t number;
  const char* description;
};

class EndsTheFit : public ::testing::TestWithParam<EndingCase> {};

TEST_P(EndsTheFit, AtTheFirstSampleWithNoResults) {
  ProblemModel model =
      GatheredModel({"x", "y"}, {Variable("0", "1", "3"), Variable("0", "1", "2")});
  model.HaveResults = true;
  RecordingEngine engine([&](const Values&) -> double {
    throw ScriptFailure(GetParam().number, GetParam().description);
  });
  const FitOutcome outcome = Compute(model, engine);
  EXPECT_EQ(outcome.Status, FitStatus::EndedByError);
  EXPECT_EQ(outcome.ErrorNumber, GetParam().number);
  EXPECT_EQ(outcome.Description, GetParam().description);
  EXPECT_FALSE(model.HaveResults);
  EXPECT_EQ(engine.Calls.size(), 1u);  // one failing call, so one message from the engine
  EXPECT_EQ(engine.Errors, std::vector<int32_t>{GetParam().number});
}

INSTANTIATE_TEST_SUITE_P(Numbers, EndsTheFit,
                         ::testing::Values(EndingCase{"SyntaxError", kSyntaxError, "Syntax error"},
                                           EndingCase{"TextValue", 13, "Type mismatch"},
                                           EndingCase{"UndefinedName", 500,
                                                      "Variable is undefined"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FitDriver, FailedAssignmentRiddenOverLeavesThePreviousValue) {
  ProblemModel model = GatheredModel({"x"}, {Variable("0", "2", "3")});
  RecordingEngine engine([](const Values& v) { return v.count("x") ? v.at("x") : -1.0; },
                         [](const std::string& statement) {
                           if (statement == "x= 1") throw ScriptFailure(6, "Overflow");
                         });
  ASSERT_EQ(Compute(model, engine).Status, FitStatus::Success);
  ASSERT_EQ(engine.Calls.size(), 3u);
  EXPECT_EQ(engine.Calls[1].at("x"), 0.0);
}

TEST(FitDriver, FailedAssignmentOfAnotherNumberEndsTheFit) {
  ProblemModel model = GatheredModel({"x y"}, {Variable("0", "2", "3")});
  RecordingEngine engine(
      [](const Values&) { return 1.0; },
      [](const std::string&) { throw ScriptFailure(kSyntaxError, "Expected end of statement"); });
  const FitOutcome outcome = Compute(model, engine);
  EXPECT_EQ(outcome.Status, FitStatus::EndedByError);
  EXPECT_TRUE(engine.Calls.empty());
  EXPECT_FALSE(model.HaveResults);
}

TEST(FitDriver, UngatheredCoefIsRefusedNotReadOutOfBounds) {
  ProblemModel model = GatheredModel({"x"}, {Variable("0", "1", "3")});
  model.LastTerm[0] = 5;
  RecordingEngine engine([](const Values&) { return 2.0; });
  EXPECT_EQ(Compute(model, engine).Status, FitStatus::EndedByError);
  EXPECT_TRUE(engine.Calls.empty());
}

// The approximation takes the sampled value at every grid point, for all four variables
// and both kinds of terms.
TEST(FitDriver, EvaluatorAgreesWithTheFitAtEveryNode) {
  ProblemModel model =
      GatheredModel({"x", "y", "z", "t"}, {Variable("-1", "2", "4"), Variable("0", "3", "3", false),
                                           Variable("-2", "-1", "2", true, "0"),
                                           Variable("0.5", "1.5", "5", false, "1")});
  const auto f = [](const Values& v) {
    return v.at("x") * v.at("x") * std::sin(v.at("y")) + 4 * std::cos(v.at("z")) - v.at("t");
  };
  RecordingEngine engine(f);
  ASSERT_EQ(Compute(model, engine).Status, FitStatus::Success);
  ASSERT_EQ(engine.Calls.size(), 4u * 3u * 2u * 5u);
  for (const Values& point : engine.Calls) {
    const char* names[] = {"x", "y", "z", "t"};
    std::vector<double> x;
    for (const char* name : names) x.push_back(point.at(name));
    EXPECT_NEAR(Evaluate(model, x), f(point), 1e-11);
  }
}

}  // namespace
}  // namespace quon
