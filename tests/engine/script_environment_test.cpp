// The script host: the load set-up, fna's conversions and failures, and the error event
// (its message, its order against the failing call, and the numbers it passes silently).
#include "script_environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace quon {
namespace {

class ScriptEnvironmentTest : public testing::Test {
 protected:
  ScriptEnvironment env{[this](const std::string& text) {
    messages.push_back(text);
    lastNumberAtMessage = env.LastErrorNumber;
  }};
  std::vector<std::string> messages;
  int32_t lastNumberAtMessage = 0;

  int32_t FnaFailure(std::string_view equation) {
    try {
      env.fna(equation);
    } catch (const ScriptFailure& failure) {
      return failure.Number;
    }
    ADD_FAILURE() << equation << " did not fail";
    return 0;
  }
};

TEST_F(ScriptEnvironmentTest, SetUpDefinesPiEAndHalfpi) {
  EXPECT_EQ(env.fna("pi"), 4.0 * std::atan(1.0));
  EXPECT_EQ(env.fna("E"), std::exp(1.0));
  EXPECT_EQ(env.fna("halfpi"), 2.0 * std::atan(1.0));
  EXPECT_EQ(env.LastErrorNumber, 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ScriptEnvironmentTest, DefaultFunctionAtAssignedPoint) {
  env.ExecuteStatement("x= .5");
  env.ExecuteStatement("y=-1.25");
  env.ExecuteStatement("z= 1.5E+20");
  env.ExecuteStatement("t= 2");
  EXPECT_EQ(env.fna("x^2*sin(y)+4*cos(z)-t"),
            0.5 * 0.5 * std::sin(-1.25) + 4 * std::cos(1.5e20) - 2);
}

TEST_F(ScriptEnvironmentTest, SubtypesReachTheFitAsDoubles) {
  EXPECT_EQ(env.fna("CCur(1.5) * CSng(0.5)"), 0.75);
  // A Single variable keeps Single arithmetic: the product is rounded to a float.
  env.ExecuteStatement("x = CSng(0.1)");
  EXPECT_EQ(env.fna("x * 3"), static_cast<double>(0.1f * 3.0f));
}

TEST_F(ScriptEnvironmentTest, GlobalsPersistAndIgnoreCase) {
  env.ExecuteStatement("a=2.37");
  env.ExecuteStatement("B = a * 2");
  EXPECT_EQ(env.fna("A + b"), 2.37 + 4.74);
  env.ExecuteStatement("a=0");
  EXPECT_EQ(env.fna("a"), 0.0);
}

TEST_F(ScriptEnvironmentTest, BooleanTrueYieldsMinusOne) {
  EXPECT_EQ(env.fna("1 < 2"), -1.0);
  EXPECT_EQ(env.fna("1 > 2"), 0.0);
}

TEST_F(ScriptEnvironmentTest, NumericTextIsConverted) { EXPECT_EQ(env.fna("\"2.5\""), 2.5); }

TEST_F(ScriptEnvironmentTest, NonNumericTextFailsWith13WithoutMessage) {
  EXPECT_EQ(FnaFailure("\"abc\""), 13);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ScriptEnvironmentTest, MathFailureFailsFnaSilently) {
  EXPECT_EQ(FnaFailure("Asin(2)"), 5);
  EXPECT_TRUE(messages.empty());
  // The record is cleared by the next call.
  EXPECT_EQ(env.fna("Asin(1)"), env.fna("halfpi"));
}

TEST_F(ScriptEnvironmentTest, MathFailureInOneCallFailsWholeExpression) {
  EXPECT_EQ(FnaFailure("Atanh(1) + Asin(0.5) + Cosh(0)"), 11);
}

TEST_F(ScriptEnvironmentTest, UserHalfpiReplacesValueUsedByAsin) {
  env.ExecuteStatement("halfpi=2");
  EXPECT_EQ(env.fna("Asin(1)"), 2.0);
  EXPECT_EQ(env.fna("Acos(-1)"), 4.0);
}

TEST_F(ScriptEnvironmentTest, SyntaxErrorShowsMessageThenFails) {
  EXPECT_EQ(FnaFailure("sin(x"), 1002);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("expected ')'"), std::string::npos) << messages[0];
  // The event recorded the number before the message and before the call failed.
  EXPECT_EQ(lastNumberAtMessage, 1002);
  EXPECT_EQ(env.LastErrorNumber, 1002);
}

TEST_F(ScriptEnvironmentTest, NumericEngineFailuresAreSilentButRecorded) {
  for (const char* equation : {"1/0", "Log(0)", "Exp(710)"}) {
    const int32_t number = FnaFailure(equation);
    EXPECT_EQ(env.LastErrorNumber, number) << equation;
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(ScriptEnvironmentTest, TypeMismatchInEngineShowsMessage) {
  EXPECT_EQ(FnaFailure("\"abc\" + 1"), 13);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ScriptEnvironmentTest, FailingStatementShowsMessageAndKeepsValue) {
  env.ExecuteStatement("a=1");
  EXPECT_THROW(env.ExecuteStatement("a=(2"), ScriptFailure);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_THROW(env.ExecuteStatement("a=1/0"), ScriptFailure);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(env.LastErrorNumber, 11);
  EXPECT_EQ(env.fna("a"), 1.0);
}

TEST_F(ScriptEnvironmentTest, StatementThatIsNoAssignmentFails) {
  try {
    env.ExecuteStatement("x + 1");
    ADD_FAILURE() << "no failure";
  } catch (const ScriptFailure& failure) {
    EXPECT_EQ(failure.Number, 1002);
  }
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ScriptEnvironmentTest, AssigningAFunctionNameIsIllegal) {
  try {
    env.ExecuteStatement("Asin=3");
    ADD_FAILURE() << "no failure";
  } catch (const ScriptFailure& failure) {
    EXPECT_EQ(failure.Number, 501);
  }
}

TEST_F(ScriptEnvironmentTest, RemStatementIsAComment) {
  env.ExecuteStatement("rem=3");
  EXPECT_EQ(FnaFailure("rem"), 1002);
}

}  // namespace
}  // namespace quon
