#include "support/fitted_model.h"

#include "core/fit/fit_driver.h"
#include "core/model/gather_specs.h"
#include "core/model/node_geometry.h"

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
    model.Kind[k] = v.Chebyshev ? TermKind::Chebyshev
                    : v.Trig    ? TermKind::Trigonometric
                                : TermKind::Power;
    model.LastTerm[k] = v.Terms - 1;
    model.LowerLimit[k] = v.Lower;
    model.UpperLimit[k] = v.Upper;
    model.Center[k] = v.Chebyshev ? (v.Lower + v.Upper) / 2 : v.Center;
    model.Period[k] = v.Period;
  }
  return model;
}

std::vector<double> NodePoint(const ProblemModel& model, const NodeIndex& j) {
  std::vector<double> point(static_cast<std::size_t>(VariableCount(model)));
  for (std::size_t k = 0; k < point.size(); ++k) {
    point[k] = VariableGeometry(model, static_cast<int>(k)).Node(j[k]);
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
  if (SolveSamples(model)) return;
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
