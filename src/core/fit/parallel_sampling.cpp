#include "core/fit/parallel_sampling.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <vector>

#include "core/fit/fit_driver.h"
#include "core/fit/grid_position.h"
#include "core/parallel/parallel_for.h"

namespace quon {
namespace {

// Points a thread takes at a time: large enough to make the shared counter cheap, small
// enough to balance the threads and to stop soon after an ending error.
constexpr std::size_t kBlock = 4096;

// What the threads found, under one lock, merged block by block.
class Findings {
 public:
  explicit Findings(std::size_t size) : firstEnding_(size) {}

  void Ending(std::size_t position) {
    std::lock_guard<std::mutex> lock(mutex_);
    firstEnding_ = std::min(firstEnding_, position);
    stopAt_.store(firstEnding_, std::memory_order_relaxed);
  }
  // The last error a block rode over. A block holding the first ending error stops there,
  // so the last ridden error before that error is the last of some block's.
  void Ridden(std::size_t position, int32_t number) {
    std::lock_guard<std::mutex> lock(mutex_);
    ridden_.push_back({position, number});
  }
  // Blocks from here on need not be sampled.
  std::size_t StopAt() const { return stopAt_.load(std::memory_order_relaxed); }

  ParallelSamples Result() const {
    ParallelSamples result;
    result.FirstEnding = firstEnding_;
    // Only an error ridden over before the ending one was seen by the fit in order.
    std::size_t latest = 0;
    for (const RiddenError& r : ridden_) {
      if (r.position < firstEnding_ && (result.LastRiddenNumber == 0 || r.position > latest)) {
        latest = r.position;
        result.LastRiddenNumber = r.number;
      }
    }
    return result;
  }

 private:
  std::mutex mutex_;
  std::size_t firstEnding_;
  std::atomic<std::size_t> stopAt_{SIZE_MAX};
  struct RiddenError {
    std::size_t position;
    int32_t number;
  };
  std::vector<RiddenError> ridden_;
};

// Points handed to the evaluator at a time.
constexpr std::size_t kPointsAtOnce = 256;

void SampleBlock(CoefArray& coef, ParallelFunction::Evaluator& evaluator, std::size_t begin,
                 std::size_t end, Findings& findings) {
  GridPosition position(coef, begin);
  double* samples = coef.data();
  bool ridden = false;
  std::size_t riddenAt = 0;
  int32_t riddenNumber = 0;
  std::array<std::array<int32_t, 4>, kPointsAtOnce> nodes;
  std::array<double, kPointsAtOnce> values;
  std::array<int32_t, kPointsAtOnce> errors;
  for (std::size_t first = begin; first < end; first += kPointsAtOnce) {
    const std::size_t count = std::min(kPointsAtOnce, end - first);
    for (std::size_t i = 0; i < count; ++i) {
      nodes[i] = {position.node(0), position.node(1), position.node(2), position.node(3)};
      position.Advance();
    }
    evaluator.Values(nodes.data(), count, values.data(), errors.data());
    // The errors in canonical order: the first that ends the fit stops the block.
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t n = first + i;
      if (errors[i] == 0) {
        samples[n] = values[i];
      } else if (FitRidesOver(errors[i])) {
        ridden = true;
        riddenAt = n;
        riddenNumber = errors[i];
      } else {
        findings.Ending(n);
        if (ridden) findings.Ridden(riddenAt, riddenNumber);
        return;
      }
    }
  }
  if (ridden) findings.Ridden(riddenAt, riddenNumber);
}

}  // namespace

ParallelSamples SampleInParallel(CoefArray& coef, ParallelFunction& function, std::size_t begin) {
  const std::size_t size = coef.size();
  Findings findings(size);
  const std::size_t blocks = (size - std::min(begin, size) + kBlock - 1) / kBlock;
  std::vector<std::unique_ptr<ParallelFunction::Evaluator>> evaluators(WorkerCount(blocks));
  ParallelFor(blocks, evaluators.size(), [&](std::size_t worker, std::size_t block) {
    const std::size_t first = begin + block * kBlock;
    if (first >= findings.StopAt()) return;
    std::unique_ptr<ParallelFunction::Evaluator>& evaluator = evaluators[worker];
    if (!evaluator) evaluator = function.NewEvaluator();
    SampleBlock(coef, *evaluator, first, std::min(size, first + kBlock), findings);
  });
  return findings.Result();
}

}  // namespace quon
