#include "core/eval/point_function.h"

#include <algorithm>
#include <cmath>

#include "core/parallel/parallel_for.h"
#include "engine/err_num.h"

namespace quon {
namespace {

// Points a worker takes at a time: below this, handing out work costs more than it saves.
constexpr std::size_t kPointsPerThread = 1024;
constexpr auto kOverflow = static_cast<int32_t>(script::ErrNum::Overflow);

void EvaluateRange(PointFunction& function, int vars, const std::vector<double>& points,
                   std::size_t first, std::size_t last, std::vector<double>& values,
                   std::vector<int32_t>& errors) {
  const auto stride = static_cast<std::size_t>(vars);
  function.Values(points.data() + first * stride, stride, last - first, values.data() + first,
                  errors.data() + first);
  for (std::size_t i = first; i < last; ++i) {
    if (errors[i] == 0 && !std::isfinite(values[i])) errors[i] = kOverflow;
    if (errors[i] != 0) values[i] = 0.0;
  }
}

}  // namespace

void EvaluateAtPoints(PointFunctionSource& source, int vars, const std::vector<double>& points,
                      std::vector<double>& values, std::vector<int32_t>& errors) {
  const std::size_t count = points.size() / static_cast<std::size_t>(vars);
  values.assign(count, 0.0);
  errors.assign(count, 0);
  // Each worker takes contiguous blocks; the blocks and so the results do not depend on
  // the number of threads.
  const std::size_t blocks = (count + kPointsPerThread - 1) / kPointsPerThread;
  const std::size_t workers = source.ThreadSafe() ? WorkerCount(blocks, MaxCheckThreads) : 1;
  std::vector<std::unique_ptr<PointFunction>> functions(workers);
  ParallelFor(blocks, workers, [&](std::size_t worker, std::size_t block) {
    std::unique_ptr<PointFunction>& function = functions[worker];
    if (!function) function = source.NewEvaluator();
    EvaluateRange(*function, vars, points, block * kPointsPerThread,
                  std::min(count, (block + 1) * kPointsPerThread), values, errors);
  });
}

}  // namespace quon
