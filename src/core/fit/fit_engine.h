// What the fit asks of the script engine: give a variable its value by a statement, and
// the function's value at the point the engine holds. The program's engine stands behind
// it (script_fit_engine.h); tests put a recording engine in its place.
//
// An engine may also offer to evaluate the function on several threads at once, when the
// function text changes nothing when it runs: each thread then holds its own copy of the
// engine's variables and sets the fit's variables in it directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quon {

// The function on threads of its own: one Evaluator per thread.
class ParallelFunction {
 public:
  class Evaluator {
   public:
    virtual ~Evaluator() = default;
    // Variable k now holds the value its statement for node j gave it.
    virtual void SetNode(int k, int32_t j) = 0;
    // The function's value at the nodes set: 0 and the value, or the error number the
    // engine's fna would fail with. Shows nothing and raises no error event.
    virtual int32_t Value(double& value) = 0;
    // Value at `count` points, the nodes of point i in nodes[i] (by variable): errors[i]
    // and values[i] as Value gives them. An evaluator that can work on many points at
    // once does so here; the results are the same.
    virtual void Values(const std::array<int32_t, 4>* nodes, std::size_t count, double* values,
                        int32_t* errors) {
      for (std::size_t i = 0; i < count; ++i) {
        for (int k = 0; k < 4; ++k) SetNode(k, nodes[i][static_cast<std::size_t>(k)]);
        errors[i] = Value(values[i]);
      }
    }
  };
  virtual ~ParallelFunction() = default;
  // Called once on each thread; may throw std::bad_alloc.
  virtual std::unique_ptr<Evaluator> NewEvaluator() = 0;
};

class FitEngine {
 public:
  virtual ~FitEngine() = default;

  // Runs one statement such as "x= .5". Throws ScriptFailure.
  virtual void ExecuteStatement(std::string_view statement) = 0;

  // The function's value under the current globals. Throws ScriptFailure.
  virtual double fna() = 0;

  // The fit's error trap stores every number it catches here (the window's LastErrorNumber).
  virtual void RecordError(int32_t number) = 0;

  // Offered only once the function has been evaluated once at the first grid point.
  // nodeStatements[k] holds the statements of variable k's nodes (none for a slot with a
  // single term). Runs each of them once, in order, which leaves every variable at its
  // last node, and returns the function for other threads; or nullptr when the function
  // cannot be evaluated in parallel (having run none of the statements, or, when one
  // failed, those before it).
  virtual std::unique_ptr<ParallelFunction> PrepareParallel(
      const std::array<std::vector<std::string>, 4>& nodeStatements) {
    (void)nodeStatements;
    return nullptr;
  }
};

}  // namespace quon
