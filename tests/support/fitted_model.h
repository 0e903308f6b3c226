// Test support: the one way the core tests build a problem model. From entry fields as
// gathering reads them, or from numbers; fitted to a C++ function (sampled at the nodes,
// solved with the program's basis matrix and solver, as the fit does); and that function
// as the accuracy check's point-function source.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/eval/point_function.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "support/grid_walk.h"

namespace quon::testing {

struct VarSpec {
  std::string Name;
  bool Trig = false;
  int32_t Terms = 2;
  double Lower = -1.0;
  double Upper = 1.0;
  double Center = 0.0;
  double Period = 0.0;
  bool Chebyshev = false;  // Chebyshev terms (Trig ignored), about the middle of the interval
};

// A function that reports a failure by returning its error number (0 for success).
using TestFunction = std::function<int32_t(std::span<const double> point, double& value)>;

// A function that never fails.
TestFunction Always(std::function<double(std::span<const double>)> f);

// A model whose variables are named `names` and whose entry fields were just gathered,
// ready for the fit.
ProblemModel GatheredModel(const std::vector<std::string>& names,
                           const std::vector<VariableFields>& fields,
                           const std::string& equation = "");

// The model of `vars` as gathering leaves it, with no Coef.
ProblemModel SpecifiedModel(const std::vector<VarSpec>& vars);

// The coordinates of node j of the variables in use.
std::vector<double> NodePoint(const ProblemModel& model, const NodeIndex& j);

// Samples f at every node of a specified model into a fresh Coef (a failing sample stays
// 0, as in the fit) and solves along every variable; HaveResults tells whether it was solved.
void FitTo(ProblemModel& model, const TestFunction& f);

// SpecifiedModel(vars) fitted to f.
ProblemModel FittedModel(const std::vector<VarSpec>& vars, const TestFunction& f);

class TestFunctionSource final : public PointFunctionSource {
 public:
  explicit TestFunctionSource(TestFunction f, bool threadSafe = true)
      : f_(std::move(f)), threadSafe_(threadSafe) {}
  std::unique_ptr<PointFunction> NewEvaluator() override;
  bool ThreadSafe() const override { return threadSafe_; }
  int64_t calls() const { return calls_; }

 private:
  TestFunction f_;
  bool threadSafe_;
  std::atomic<int64_t> calls_{0};
};

}  // namespace quon::testing
