#include "support/fitted_model.h"

#include "core/fit/basis.h"
#include "core/fit/solver.h"
#include "core/model/gather_specs.h"

namespace quon::testing {

TestFunction Always(std::function<double(std::span<const double>)> f) {
  return [f = std::move(f)](std::span<const double> point, double& value) {
    value = f(point);
    return 0;
  };
}

ProblemModel GatheredModel(const std::vector<std::string>& names,
                           const std::vector<VariableFields>& fields, const std::string& equation) {
  ProblemModel model;
  model.AllocatePerVariableArrays();
  model.LastVar = static_cast<int32_t>(names.size()) - 1;
  model.VarName = names;
  EntryFields entry;
  entry.Equation = equation;
  entry.Variables = fields;
  GatherSpecs(model, entry);
  return model;
}

ProblemModel SpecifiedModel(const std::vector<VarSpec>& vars) {
  ProblemModel model;
  model.LastVar = static_cast<int32_t>(vars.size()) - 1;
  model.VarName.assign(vars.size(), "");
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
  }
  return model;
}

std::vector<double> NodePoint(const ProblemModel& model, const NodeIndex& j) {
  std::vector<double> point(static_cast<std::size_t>(model.LastVar) + 1);
  for (std::size_t k = 0; k < point.size(); ++k) {
    point[k] = static_cast<double>(j[k]) * model.NodeStep[k] + model.LowerLimit[k];
  }
  return point;
}

void FitTo(ProblemModel& model, const TestFunction& f) {
  model.HaveResults = false;
  model.Coef.Allocate(model.LastTerm);
  ForEachNode(model.LastTerm, [&](const NodeIndex& j) {
    double value = 0.0;
    if (f(NodePoint(model, j), value) == 0) model.Coef(j[0], j[1], j[2], j[3]) = value;
  });
  for (int k = 0; k <= model.LastVar; ++k) {
    BasisMatrix matrix = BuildBasisMatrix(model, k);
    if (SolveAlongDimension(matrix, model.Coef, k) == SolveOutcome::Singular) return;
  }
  model.HaveResults = true;
}

ProblemModel FittedModel(const std::vector<VarSpec>& vars, const TestFunction& f) {
  ProblemModel model = SpecifiedModel(vars);
  FitTo(model, f);
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
