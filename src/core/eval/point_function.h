// The user's function as the accuracy check and the plot ask for it: its value at a point
// given by coordinates, one per variable in use, without disturbing the values that the
// program's script engine holds. A source hands out one evaluator per thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quon {

class PointFunction {
 public:
  virtual ~PointFunction() = default;
  // 0 with the function's value at `point` in `value`, or the error number of the failure
  // (value then unspecified).
  virtual int32_t Value(std::span<const double> point, double& value) = 0;
  // Value at `count` points one after the other in `points` (`vars` coordinates each):
  // errors[i] and values[i] as Value gives them. An evaluator that can work on many
  // points at once does so here; the results are the same.
  virtual void Values(const double* points, std::size_t vars, std::size_t count, double* values,
                      int32_t* errors) {
    for (std::size_t i = 0; i < count; ++i) {
      errors[i] = Value(std::span<const double>(points + i * vars, vars), values[i]);
    }
  }
};

class PointFunctionSource {
 public:
  virtual ~PointFunctionSource() = default;
  // A new evaluator; each one is used by one thread at a time.
  virtual std::unique_ptr<PointFunction> NewEvaluator() = 0;
  // Whether evaluators may run on several threads at once.
  virtual bool ThreadSafe() const = 0;
};

// Values of the function at `points`, `vars` coordinates per point one after the other:
// errors[i] is 0 and values[i] the value of point i, or errors[i] the error number of its
// failure (a value that is not finite counts as an overflow, 6). Runs on up to
// MaxCheckThreads threads when the source is thread-safe and there are enough points; the
// results do not depend on the number of threads.
// The source of a fit with no function behind it (a fit on data): every value fails
// with error 5, so that curves of the function stay empty.
class NoFunctionSource final : public PointFunctionSource {
 public:
  std::unique_ptr<PointFunction> NewEvaluator() override {
    class Failing final : public PointFunction {
     public:
      int32_t Value(std::span<const double>, double&) override { return 5; }
    };
    return std::make_unique<Failing>();
  }
  bool ThreadSafe() const override { return true; }
};

inline constexpr int MaxCheckThreads = 8;
void EvaluateAtPoints(PointFunctionSource& source, int vars, const std::vector<double>& points,
                      std::vector<double>& values, std::vector<int32_t>& errors);

}  // namespace quon
