#include "fit/compute_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/results_state.h"

namespace quon {
namespace {

struct Problem {
  ProblemModel model;
  EntryFields fields;
  std::vector<std::string> messages;
};

// One power variable x on [0, 2] with 3 terms, the function a*x^2.
Problem Parabola() {
  Problem s;
  s.model.LastVar = 0;
  s.model.AllocatePerVariableArrays();
  s.model.VarName = {"x"};
  s.fields.Equation = "a*x^2";
  s.fields.Variables.resize(1);
  s.fields.Variables[0].LowerLimit = "0";
  s.fields.Variables[0].UpperLimit = "2";
  s.fields.Variables[0].Terms = "3";
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

TEST(ComputeCommand, AFailingConstantRefusesTheComputeNamingIt) {
  Problem s = Parabola();
  s.model.HaveResults = true;
  s.fields.ConstantItems = {"a=3", "c=1/0"};
  const ComputeOutcome outcome = Fit(s);
  EXPECT_EQ(outcome.Status, ComputeStatus::Refused);
  EXPECT_EQ(outcome.ErrorNumber, 11);
  EXPECT_FALSE(outcome.AlreadyShown);  // a numeric failure: the engine showed nothing
  EXPECT_NE(outcome.Message.find("c=1/0"), std::string::npos) << outcome.Message;
  EXPECT_FALSE(s.model.HaveResults);
  EXPECT_TRUE(s.messages.empty());
}

TEST(ComputeCommand, AConstantWithASyntaxErrorWasShownByTheEngine) {
  Problem s = Parabola();
  s.fields.ConstantItems = {"a=(3"};
  const ComputeOutcome outcome = Fit(s);
  EXPECT_EQ(outcome.Status, ComputeStatus::Refused);
  EXPECT_TRUE(outcome.AlreadyShown);
  EXPECT_EQ(s.messages.size(), 1u);
}

TEST(ComputeCommand, AGridTooLargeIsRefusedBeforeTheFit) {
  Problem s = Parabola();
  s.model.LastVar = 3;
  s.model.AllocatePerVariableArrays();
  s.model.VarName = {"x", "y", "z", "t"};
  s.fields.Variables.assign(4, s.fields.Variables[0]);
  for (VariableFields& v : s.fields.Variables) v.Terms = "100000";
  const ComputeOutcome outcome = Fit(s);
  EXPECT_EQ(outcome.Status, ComputeStatus::Refused);
  EXPECT_EQ(outcome.ErrorNumber, 0);
  EXPECT_FALSE(outcome.Message.empty());
  EXPECT_FALSE(s.model.HaveResults);
}

TEST(ComputeCommand, FewerThanTwoTermsAreRefused) {
  Problem s = Parabola();
  s.fields.Variables[0].Terms = "1";
  EXPECT_EQ(Fit(s).Status, ComputeStatus::Refused);
}

TEST(ComputeCommand, ScriptErrorEndsTheFitWithTheEnginesDescription) {
  Problem s = Parabola();
  s.fields.Equation = "x +* 1";
  const ComputeOutcome outcome = Fit(s);
  EXPECT_EQ(outcome.Status, ComputeStatus::EndedByError);
  EXPECT_TRUE(outcome.AlreadyShown);
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(outcome.Message, s.messages[0]);
}

TEST(ComputeCommand, CoincidentNodesAreSingular) {
  Problem s = Parabola();
  s.fields.Variables[0].UpperLimit = "0";
  EXPECT_EQ(Fit(s).Status, ComputeStatus::Singular);
  EXPECT_FALSE(s.model.HaveResults);
}

TEST(ResultsState, ClearingWaitsWhileAFileIsLoading) {
  ProblemModel model;
  model.HaveResults = true;
  model.Loading = true;
  EXPECT_FALSE(ClearResults(model));
  EXPECT_TRUE(model.HaveResults);
  EXPECT_TRUE(ShowStoredResults(model));
  model.Loading = false;
  EXPECT_TRUE(ClearResults(model));
  EXPECT_FALSE(model.HaveResults);
  EXPECT_FALSE(ShowStoredResults(model));
  EXPECT_TRUE(ClearResults(model));  // the list is emptied even without results
}

}  // namespace
}  // namespace quon
