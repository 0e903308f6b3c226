#include "support/fitted_model.h"

#include <array>

#include "fit/basis.h"
#include "fit/solver.h"

namespace quon::testing {

TestFunction Always(std::function<double(std::span<const double>)> f) {
  return [f = std::move(f)](std::span<const double> point, double& value) {
    value = f(point);
    return 0;
  };
}

ProblemModel FittedModel(const std::vector<VarSpec>& vars, const TestFunction& f) {
  ProblemModel model;
  model.LastVar = static_cast<int32_t>(vars.size()) - 1;
  model.VarName.assign(vars.size(), "");
  CoefArray::LastTerms lastTerms{};
  for (std::size_t k = 0; k < vars.size(); ++k) {
    const VarSpec& v = vars[k];
    model.VarName[k] = v.Name;
    model.IsTrig[k] = v.Trig;
    model.IsPower[k] = !v.Trig;
    model.LastTerm[k] = v.Terms - 1;
    model.LowerLimit[k] = v.Lower;
    model.UpperLimit[k] = v.Upper;
    model.Center[k] = v.Center;
    model.Period[k] = v.Period;
    model.NodeStep[k] = (v.Upper - v.Lower) / (v.Terms - 1);
    model.NodeStart[k] = v.Lower - v.Center;
    lastTerms[k] = v.Terms - 1;
  }
  model.Coef.Allocate(lastTerms);
  std::array<int32_t, 4> j{};
  std::vector<double> point(vars.size());
  for (j[3] = 0; j[3] <= lastTerms[3]; ++j[3]) {
    for (j[2] = 0; j[2] <= lastTerms[2]; ++j[2]) {
      for (j[1] = 0; j[1] <= lastTerms[1]; ++j[1]) {
        for (j[0] = 0; j[0] <= lastTerms[0]; ++j[0]) {
          for (std::size_t k = 0; k < vars.size(); ++k) {
            point[k] = static_cast<double>(j[k]) * model.NodeStep[k] + model.LowerLimit[k];
          }
          double value = 0.0;
          if (f(point, value) == 0) model.Coef(j[0], j[1], j[2], j[3]) = value;
        }
      }
    }
  }
  for (int k = 0; k <= model.LastVar; ++k) {
    BasisMatrix matrix = BuildBasisMatrix(model, k);
    if (SolveAlongDimension(matrix, model.Coef, k) == SolveOutcome::Singular) return model;
  }
  model.HaveResults = true;
  return model;
}

namespace {

class TestFunctionEvaluator final : public PointFunction {
 public:
  TestFunctionEvaluator(const TestFunction& f, std::atomic<int64_t>& calls)
      : f_(f), calls_(calls) {}
  int32_t Value(std::span<const double> point, double& value) override {
    ++calls_;
    return f_(point, value);
  }

 private:
  const TestFunction& f_;
  std::atomic<int64_t>& calls_;
};

}  // namespace

std::unique_ptr<PointFunction> TestFunctionSource::NewEvaluator() {
  return std::make_unique<TestFunctionEvaluator>(f_, calls_);
}

}  // namespace quon::testing
