// How the threads' findings merge: the first ending error in canonical order wins and only
// errors ridden over before it count, whichever thread reports first. A fake function on a
// one-variable grid makes the later block report first.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "core/fit/parallel_sampling.h"

namespace quon {
namespace {

using namespace std::chrono_literals;

// Position n of the grid fails with errors[n]; a position in waits[n] first waits until
// that other position has been evaluated, then a little longer.
class ScriptedFunction final : public ParallelFunction {
 public:
  std::map<std::size_t, int32_t> errors;
  std::map<std::size_t, std::size_t> waits;
  std::array<std::atomic<bool>, 3 * 4096 + 1> done{};

  std::unique_ptr<Evaluator> NewEvaluator() override {
    return std::make_unique<ScriptedEvaluator>(*this);
  }

 private:
  class ScriptedEvaluator final : public Evaluator {
   public:
    explicit ScriptedEvaluator(ScriptedFunction& f) : f_(f) {}
    void SetNode(int k, int32_t j) override {
      if (k == 0) position_ = static_cast<std::size_t>(j);
    }
    int32_t Value(double& value) override {
      if (const auto wait = f_.waits.find(position_); wait != f_.waits.end()) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!f_.done[wait->second] && std::chrono::steady_clock::now() < deadline) {
          std::this_thread::sleep_for(1ms);
        }
        std::this_thread::sleep_for(100ms);
      }
      f_.done[position_] = true;
      value = static_cast<double>(position_);
      const auto error = f_.errors.find(position_);
      return error == f_.errors.end() ? 0 : error->second;
    }

   private:
    ScriptedFunction& f_;
    std::size_t position_ = 0;
  };
};

// Blocks of 4096 points from position 1: [1, 4097), [4097, 8193), [8193, 12289).
CoefArray Grid() {
  CoefArray coef;
  coef.Allocate({3 * 4096, 0, 0, 0});
  return coef;
}

class ParallelMerge : public testing::Test {
 protected:
  void SetUp() override {
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "needs two threads";
  }
};

TEST_F(ParallelMerge, EarliestEndingWinsThoughReportedLast) {
  CoefArray coef = Grid();
  ScriptedFunction f;
  f.errors = {{50, 11}, {100, 13}, {4500, 6}, {5000, 1002}};
  f.waits = {{100, 5000}};  // block 0 meets its ending error after block 1 has met its own
  const ParallelSamples result = SampleInParallel(coef, f, 1);
  EXPECT_EQ(result.FirstEnding, 100u);
  EXPECT_EQ(result.LastRiddenNumber, 11);  // 4500 lies after the ending error
  EXPECT_EQ(coef.data()[99], 99.0);
  EXPECT_EQ(coef.data()[50], 0.0);
}

TEST_F(ParallelMerge, EarliestEndingWinsWhenALaterBlockReportsAfterIt) {
  CoefArray coef = Grid();
  ScriptedFunction f;
  f.errors = {{100, 13}, {5000, 1002}};
  // Block 1 is under way when block 0 meets its ending error, and meets its own after it.
  f.waits = {{100, 4097}, {5000, 100}};
  const ParallelSamples result = SampleInParallel(coef, f, 1);
  EXPECT_EQ(result.FirstEnding, 100u);
}

TEST_F(ParallelMerge, LatestRiddenErrorWinsThoughReportedFirst) {
  CoefArray coef = Grid();
  ScriptedFunction f;
  f.errors = {{200, 5}, {5000, 6}};
  f.waits = {{4096, 8192}};  // block 0 ends after block 1 has ended
  const ParallelSamples result = SampleInParallel(coef, f, 1);
  EXPECT_EQ(result.FirstEnding, coef.size());
  EXPECT_EQ(result.LastRiddenNumber, 6);
  EXPECT_EQ(coef.data()[5000], 0.0);
  EXPECT_EQ(coef.data()[coef.size() - 1], static_cast<double>(coef.size() - 1));
}

}  // namespace
}  // namespace quon
