#include "core/eval/point_function.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>
#include <thread>

#include "engine/err_num.h"

namespace quon {
namespace {

// Below this many points per thread, starting a thread costs more than it saves.
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
  std::size_t threads = 1;
  if (source.ThreadSafe()) {
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    threads = std::clamp<std::size_t>(count / kPointsPerThread, 1,
                                      std::min<std::size_t>(cores, MaxCheckThreads));
  }
  std::vector<std::unique_ptr<PointFunction>> functions;
  for (std::size_t t = 0; t < threads; ++t) functions.push_back(source.NewEvaluator());
  if (threads == 1) {
    EvaluateRange(*functions[0], vars, points, 0, count, values, errors);
    return;
  }
  // Each thread takes one contiguous block; the calling thread takes the first.
  std::vector<std::exception_ptr> failures(threads);
  std::vector<std::thread> workers;
  const auto block = [&](std::size_t t) {
    try {
      EvaluateRange(*functions[t], vars, points, count * t / threads, count * (t + 1) / threads,
                    values, errors);
    } catch (...) {
      failures[t] = std::current_exception();
    }
  };
  std::size_t started = 1;
  try {
    for (; started < threads; ++started) workers.emplace_back(block, started);
  } catch (const std::system_error&) {
    // No more threads to be had: the calling thread takes the blocks left over.
  }
  for (std::size_t t = started; t < threads; ++t) block(t);
  block(0);
  for (std::thread& worker : workers) worker.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace quon
