// The script host: the load set-up, fna's conversions and failures, the math object's
// wiring, and the error event (its message, its order against the failing call, and the
// numbers it passes silently).
#include "engine/script_environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace quon {
namespace {

const double kHalfpi = 2.0 * std::atan(1.0);

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

// fna in a fresh host: the set-up's constants, the conversions to a number, and the math
// object's functions, global in any case; none raises the error event.
TEST_F(ScriptEnvironmentTest, FnaGivesTheValueAsANumber) {
  const std::pair<const char*, double> kValues[] = {
      {"pi", 4.0 * std::atan(1.0)},
      {"E", std::exp(1.0)},
      {"halfpi", kHalfpi},
      {"1 < 2", -1.0},  // a Boolean true
      {"1 > 2", 0.0},
      {"\"2.5\"", 2.5},
      {"CCur(1.5) * CSng(0.5)", 0.75},
      {"asin(1)", kHalfpi},
      {"ACOS(-1)", 2 * kHalfpi},
      {"sh.Tanh(0)", 0.0},
      {"Acosh(\"1\")", 0.0},
  };
  for (const auto& [equation, value] : kValues) {
    EXPECT_EQ(env.fna(equation), value) << equation;
  }
  EXPECT_EQ(env.LastErrorNumber, 0);
  EXPECT_TRUE(messages.empty());
}

struct FnaFailureCase {
  const char* equation;
  int32_t number;
  bool event;           // whether the engine's error event ran (and recorded the number)
  const char* message;  // part of the message shown, or none for a silent failure
};

// Numeric failures pass silently, other engine failures show their message after the
// event recorded the number; a text that is no number and a failure the math object
// recorded fail in fna itself, without the event. Nothing is left behind for the next call.
TEST_F(ScriptEnvironmentTest, FnaFailures) {
  const FnaFailureCase kFailures[] = {
      {"1/0", 11, true, nullptr},
      {"Log(0)", 5, true, nullptr},
      {"Exp(710)", 6, true, nullptr},
      {"sin(x", 1002, true, "expected ')'"},
      {"\"abc\" + 1", 13, true, "Type mismatch"},
      {"Asin(1, 2)", 450, true, "Wrong number of arguments"},
      {"\"abc\"", 13, false, nullptr},
      {"Asin(2)", 5, false, nullptr},
      {"Sinh(\"abc\")", 13, false, nullptr},
      // The last of several recorded failures is kept, even with a call that succeeds after it.
      {"Asin(2) + Atanh(1) + Cosh(1)", 11, false, nullptr},
  };
  for (const FnaFailureCase& c : kFailures) {
    SCOPED_TRACE(c.equation);
    env.LastErrorNumber = 0;
    messages.clear();
    EXPECT_EQ(FnaFailure(c.equation), c.number);
    EXPECT_EQ(env.LastErrorNumber, c.event ? c.number : 0);
    if (c.message == nullptr) {
      EXPECT_TRUE(messages.empty());
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
      EXPECT_EQ(lastNumberAtMessage, c.number);
    }
    EXPECT_EQ(env.fna("Asin(1)"), kHalfpi);
  }
}

TEST_F(ScriptEnvironmentTest, DefaultFunctionAtAssignedPointAndSingleArithmetic) {
  env.ExecuteStatement("x= .5");
  env.ExecuteStatement("y=-1.25");
  env.ExecuteStatement("z= 1.5E+20");
  env.ExecuteStatement("t= 2");
  EXPECT_EQ(env.fna("x^2*sin(y)+4*cos(z)-t"),
            0.5 * 0.5 * std::sin(-1.25) + 4 * std::cos(1.5e20) - 2);
  // Single arithmetic: the product is rounded to a float before fna makes it a Double.
  env.ExecuteStatement("x = CSng(0.1)");
  EXPECT_EQ(env.fna("x * 3"), static_cast<double>(0.1f * 3.0f));
}

TEST_F(ScriptEnvironmentTest, FailedMathCallReturnsZeroAndUserHalfpiIsUsedByAsin) {
  // The expression runs on with 0 for the failed call; only the record fails fna.
  EXPECT_EQ(env.Engine().Eval("Asin(2) + 3").number, 3.0);
  EXPECT_EQ(env.Engine().Eval("ErrorNumber").number, 5.0);
  env.ExecuteStatement("halfpi=2");
  EXPECT_EQ(env.fna("Asin(1)"), 2.0);
  EXPECT_EQ(env.fna("Acos(-1)"), 4.0);
}

TEST_F(ScriptEnvironmentTest, FailingStatementsShowMessagesAndKeepValues) {
  env.ExecuteStatement("a=1");
  EXPECT_THROW(env.ExecuteStatement("a=(2"), ScriptFailure);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_THROW(env.ExecuteStatement("a=1/0"), ScriptFailure);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(env.LastErrorNumber, 11);
  EXPECT_EQ(env.fna("a"), 1.0);
  for (const auto& [statement, number] :
       {std::pair<const char*, int32_t>{"x + 1", 1002}, {"Asin=3", 501}}) {
    messages.clear();
    try {
      env.ExecuteStatement(statement);
      ADD_FAILURE() << statement << " did not fail";
    } catch (const ScriptFailure& failure) {
      EXPECT_EQ(failure.Number, number) << statement;
    }
    EXPECT_EQ(messages.size(), 1u) << statement;
  }
}

}  // namespace
}  // namespace quon
