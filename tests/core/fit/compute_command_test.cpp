// The road of one Compute: what each kind of failure on the way becomes. Gathering's and
// the fit's own rules are tested where they live; here, that each is reached and reported.
#include "core/fit/compute_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/results_state.h"

namespace quon {
namespace {

struct Problem {
  ProblemModel model;
  EntryFields fields;
  std::vector<std::string> messages;  // what the engine's error event showed
};

// One power variable x on [0, 2] with 3 terms, the function a*x^2, results held before.
Problem Parabola() {
  Problem s;
  s.model.AllocatePerVariableArrays();
  s.model.VarName = {"x"};
  s.model.HaveResults = true;
  s.fields.Equation = "a*x^2";
  s.fields.Variables = {VariableFields{"0", "2", "*", "*", "3", true}};
  s.fields.ConstantItems = {"a=3", "b=a+1"};
  return s;
}

ComputeOutcome Fit(Problem& s) {
  ScriptEnvironment engine([&](const std::string& text) { s.messages.push_back(text); });
  return RunCompute(s.model, s.fields, engine);
}

TEST(ComputeCommand, SendsTheConstantsGathersAndFits) {
  Problem s = Parabola();
  const ComputeOutcome outcome = Fit(s);
  ASSERT_EQ(outcome.Status, ComputeStatus::Success) << outcome.Message;
  EXPECT_TRUE(s.model.HaveResults);
  EXPECT_EQ(s.model.Equation, "a*x^2");
  EXPECT_NEAR(s.model.Coef(0, 0, 0, 0), 3.0, 1e-14);  // 3 (x - 1 + 1)^2 about the centre 1
  EXPECT_NEAR(s.model.Coef(1, 0, 0, 0), 6.0, 1e-14);
  EXPECT_NEAR(s.model.Coef(2, 0, 0, 0), 3.0, 1e-14);
}

struct FailureCase {
  const char* name;
  void (*change)(Problem&);
  ComputeStatus status;
  int32_t errorNumber;
  bool shownByTheEngine;  // AlreadyShown, and the engine's one message
  const char* messagePart;
};

class ComputeFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ComputeFailure, EndsWithoutResultsAndSaysWhoShowsWhat) {
  const FailureCase& c = GetParam();
  Problem s = Parabola();
  c.change(s);
  const ComputeOutcome outcome = Fit(s);
  EXPECT_EQ(outcome.Status, c.status);
  EXPECT_EQ(outcome.ErrorNumber, c.errorNumber);
  EXPECT_EQ(outcome.AlreadyShown, c.shownByTheEngine);
  EXPECT_EQ(s.messages.size(), c.shownByTheEngine ? 1u : 0u);
  EXPECT_NE(outcome.Message.find(c.messagePart), std::string::npos) << outcome.Message;
  if (c.shownByTheEngine && !s.messages.empty()) {
    EXPECT_NE(outcome.Message.find(s.messages[0]), std::string::npos) << outcome.Message;
  }
  EXPECT_FALSE(s.model.HaveResults);
}

const FailureCase kFailures[] = {
    {"NumericFailureOfAConstantIsNamed", [](Problem& s) { s.fields.ConstantItems = {"c=1/0"}; },
     ComputeStatus::Refused, 11, false, "c=1/0"},
    {"SyntaxErrorOfAConstantWasShown", [](Problem& s) { s.fields.ConstantItems = {"a=(3"}; },
     ComputeStatus::Refused, 1002, true, "a=(3"},
    {"UngatherableFieldsAreRefused", [](Problem& s) { s.fields.Variables[0].Terms = "1"; },
     ComputeStatus::Refused, 0, false, "at least 2 terms"},
    {"ScriptErrorEndsTheFit", [](Problem& s) { s.fields.Equation = "x +* 1"; },
     ComputeStatus::EndedByError, 1002, true, ""},
    {"CoefficientsBeyondTheLargestDoubleOverflow",
     [](Problem& s) {
       s.fields.Equation = "x*1.7E+308";
       s.fields.Variables[0] = VariableFields{"-1", "1", "*", "*", "24", true};
     },
     ComputeStatus::Overflow, 0, false, "overflows"},
    {"CoincidentNodesAreSingular", [](Problem& s) { s.fields.Variables[0].UpperLimit = "0"; },
     ComputeStatus::Singular, 0, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Failures, ComputeFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsState, ClearingWaitsWhileAFileIsLoading) {
  ProblemModel model;
  model.HaveResults = true;
  model.Loading = true;
  EXPECT_FALSE(ClearResults(model));
  EXPECT_TRUE(model.HaveResults);
  model.Loading = false;
  EXPECT_TRUE(ClearResults(model));
  EXPECT_FALSE(model.HaveResults);
  EXPECT_TRUE(ClearResults(model));  // the list is emptied even without results
}

}  // namespace
}  // namespace quon
