// Sampling on several threads against sampling in order, through the program's engine:
// the same coefficients bit for bit, the same outcome, the same last error number.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/fit/fit_driver.h"
#include "core/fit/script_fit_engine.h"
#include "engine/script_environment.h"
#include "support/fitted_model.h"

namespace quon {
namespace {

// The engine in order: offers no parallel function.
class InOrder : public FitEngine {
 public:
  explicit InOrder(FitEngine& engine) : engine_(engine) {}
  void ExecuteStatement(std::string_view statement) override {
    engine_.ExecuteStatement(statement);
  }
  double fna() override { return engine_.fna(); }
  void RecordError(int32_t number) override { engine_.RecordError(number); }

 protected:
  FitEngine& engine_;
};

// The program's engine, noting whether it handed out a parallel function.
class Watched final : public InOrder {
 public:
  using InOrder::InOrder;
  std::unique_ptr<ParallelFunction> PrepareParallel(
      const std::array<std::vector<std::string>, 4>& nodeStatements) override {
    auto function = engine_.PrepareParallel(nodeStatements);
    parallel = function != nullptr;
    return function;
  }
  bool parallel = false;
};

struct FitRun {
  ProblemModel model;
  FitOutcome outcome;
  int32_t lastError = 0;
  int messages = 0;
  bool parallel = false;
};

// Four variables of 12, 10, 9 and 17 terms: 18360 points, enough for the threads.
FitRun Fit(const std::string& equation, bool parallel) {
  FitRun run;
  run.model = testing::GatheredModel({"x", "y", "z", "t"},
                                     {{"-5", "5", "*", "*", "12", true},
                                      {"-5", "5", "*", "*", "10", false},
                                      {"0", "5", "*", "*", "9", true},
                                      {"0", "2", "*", "*", "17", true}},
                                     equation);
  ScriptEnvironment environment([&](const std::string&) { ++run.messages; });
  ScriptFitEngine engine(environment, run.model.Equation);
  if (parallel) {
    Watched watched(engine);
    run.outcome = Compute(run.model, watched);
    run.parallel = watched.parallel;
  } else {
    InOrder inOrder(engine);
    run.outcome = Compute(run.model, inOrder);
  }
  run.lastError = environment.LastErrorNumber;
  return run;
}

bool SameCoefficients(const FitRun& a, const FitRun& b) {
  return a.model.Coef.size() == b.model.Coef.size() &&
         std::memcmp(a.model.Coef.data(), b.model.Coef.data(),
                     a.model.Coef.size() * sizeof(double)) == 0;
}

struct Case {
  const char* name;
  const char* equation;
  FitStatus status;
};

class ThreadsAgreeWithOrder : public ::testing::TestWithParam<Case> {};

TEST_P(ThreadsAgreeWithOrder, BitForBit) {
  const FitRun inOrder = Fit(GetParam().equation, false);
  const FitRun threads = Fit(GetParam().equation, true);
  EXPECT_TRUE(threads.parallel);
  EXPECT_EQ(inOrder.outcome.Status, GetParam().status);
  EXPECT_EQ(threads.outcome.Status, inOrder.outcome.Status);
  EXPECT_EQ(threads.outcome.ErrorNumber, inOrder.outcome.ErrorNumber);
  EXPECT_EQ(threads.outcome.Description, inOrder.outcome.Description);
  EXPECT_EQ(threads.lastError, inOrder.lastError);
  EXPECT_EQ(threads.messages, inOrder.messages);
  EXPECT_EQ(threads.model.HaveResults, inOrder.model.HaveResults);
  EXPECT_TRUE(SameCoefficients(threads, inOrder));
}

INSTANTIATE_TEST_SUITE_P(
    Functions, ThreadsAgreeWithOrder,
    ::testing::Values(
        Case{"DefaultFunction", "x^2*sin(y)+4*cos(z)-t", FitStatus::Success},
        Case{"MathObjectFunctions", "Tanh(x)+Asinh(y*z)+Acos(t/2)*halfpi", FitStatus::Success},
        // Sqr of a negative number (5) and 1/0 (11) are ridden over at scattered points.
        Case{"FailuresRiddenOver", "Sqr(x*y) + 1/(t-1) + 1/z", FitStatus::Success},
        // A text that is no number (13) from t > 1.5 on: the first such point ends the fit.
        Case{"EndingErrorDeepInTheGrid", "x + (\"-\" & Sgn(1.5 - t))", FitStatus::EndedByError},
        Case{"RiddenThenEnding", "1/(x-1) + (\"-\" & Sgn(1.5 - t))", FitStatus::EndedByError}),
    [](const auto& info) { return std::string(info.param.name); });

// Rnd's numbers depend on the order of the samples: such a text is sampled in order, on
// one thread, and gives the in-order coefficients.
TEST(ParallelSampling, ATextThatDrawsRandomNumbersIsSampledInOrder) {
  const FitRun inOrder = Fit("x + Rnd", false);
  const FitRun offered = Fit("x + Rnd", true);
  EXPECT_FALSE(offered.parallel);
  EXPECT_TRUE(SameCoefficients(offered, inOrder));
}

TEST(ParallelSampling, SyntaxErrorEndsAtTheFirstPointWithOneMessage) {
  const FitRun run = Fit("x +* y", true);
  EXPECT_EQ(run.outcome.Status, FitStatus::EndedByError);
  EXPECT_EQ(run.messages, 1);
  EXPECT_FALSE(run.parallel);
}

TEST(ParallelSampling, VariablesEndAtTheirLastNodes) {
  ProblemModel model = testing::GatheredModel(
      {"x", "y"}, {{"-5", "5", "*", "*", "200", true}, {"-5", "5", "*", "*", "100", true}}, "x*y");
  ScriptEnvironment environment;
  ScriptFitEngine engine(environment, model.Equation);
  Watched watched(engine);
  ASSERT_EQ(Compute(model, watched).Status, FitStatus::Success);
  EXPECT_TRUE(watched.parallel);
  EXPECT_EQ(environment.fna("x"), 5.0);
  EXPECT_EQ(environment.fna("y"), 5.0);
}

}  // namespace
}  // namespace quon
