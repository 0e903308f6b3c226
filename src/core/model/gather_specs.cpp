#include "core/model/gather_specs.h"

#include <cmath>
#include <cstddef>

#include "core/model/coef_array.h"
#include "core/model/node_geometry.h"
#include "engine/number_text.h"

namespace quon {
namespace {

std::string VariableTitle(const ProblemModel& model, int k) {
  const auto slot = static_cast<std::size_t>(k);
  if (slot < model.VarName.size() && !model.VarName[slot].empty()) {
    return "Variable " + model.VarName[slot];
  }
  return "Variable " + std::to_string(k + 1);
}

}  // namespace

VariableReading ReadVariableFields(const VariableFields& fields, double pi) {
  VariableReading r;
  r.LowerLimit = LeadingNumber(fields.LowerLimit);
  r.UpperLimit = LeadingNumber(fields.UpperLimit);
  r.TermsMinusOne = LeadingNumber(fields.Terms) - 1.0;
  r.LastTerm = RoundHalfEvenToInt32(r.TermsMinusOne);
  r.Center =
      fields.Expansion == "*" ? (r.UpperLimit + r.LowerLimit) / 2 : LeadingNumber(fields.Expansion);
  r.Period = fields.Period == "*" ? pi + pi : LeadingNumber(fields.Period);
  r.Kind = KindOf(fields);
  // Chebyshev terms are taken about the middle of the interval and have no period,
  // whatever the fields say: the model (and what saving compares with it) holds the centre
  // that applies and the period "*" stands for, as the problem file writes them.
  if (!UsesCenter(r.Kind)) {
    r.Center = (r.UpperLimit + r.LowerLimit) / 2;
    r.Period = pi + pi;
  }
  return r;
}

void GatherSpecs(ProblemModel& model, const EntryFields& fields) {
  // The old coefficients are no results any more; they are given up before the new ones
  // are allocated, so that a large grid does not need room for both.
  model.HaveResults = false;
  model.Coef = CoefArray();
  const int lastVar = model.LastVar;
  if (lastVar < 0 || lastVar >= MaxVars ||
      fields.Variables.size() < static_cast<std::size_t>(lastVar) + 1) {
    throw GatherError("Some variables have no entry fields.");
  }

  // Everything is computed into copies and committed only when the whole specification
  // can be fitted, so that a refusal leaves the model's specification as it was.
  PerVariable<double> lower = model.LowerLimit, upper = model.UpperLimit;
  PerVariable<double> center = model.Center, period = model.Period;
  PerVariable<int32_t> lastTerm = model.LastTerm;
  PerVariable<TermKind> kind = model.Kind;

  for (int k = 0; k <= lastVar; ++k) {
    const auto s = static_cast<std::size_t>(k);
    const VariableFields& v = fields.Variables[s];
    const VariableReading r = ReadVariableFields(v, model.Pi);
    if (!r.LastTerm) {
      throw GatherError(VariableTitle(model, k) + ": the number of terms \"" + v.Terms +
                        "\" is too large.");
    }
    lower[s] = r.LowerLimit;
    upper[s] = r.UpperLimit;
    lastTerm[s] = *r.LastTerm;
    center[s] = r.Center;
    period[s] = r.Period;
    kind[s] = r.Kind;
  }
  for (int k = 0; k <= lastVar; ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (lastTerm[s] < 1) {
      throw GatherError(VariableTitle(model, k) + " needs at least 2 terms.");
    }
    if (SolvedByElimination(kind[s]) && lastTerm[s] >= MostTermsPerVariable) {
      throw GatherError(VariableTitle(model, k) + ": the number of terms " +
                        std::to_string(int64_t{lastTerm[s]} + 1) +
                        " is too large for the fit (at most " +
                        std::to_string(MostTermsPerVariable) +
                        "): its work grows as the cube of the terms, and equally spaced power "
                        "terms lose all accuracy long before.");
    }
    const NodeGeometry g =
        MakeGeometry(kind[s], lastTerm[s], lower[s], upper[s], center[s], period[s]);
    if (!std::isfinite(g.LowerLimit) || !std::isfinite(g.UpperLimit) || !std::isfinite(g.Center) ||
        !std::isfinite(g.NodeStep) || !std::isfinite(g.NodeStart)) {
      throw GatherError(VariableTitle(model, k) +
                        ": the limits or the centre are too large to compute the nodes.");
    }
    if (!UsesCenter(kind[s]) &&
        !(std::isfinite(g.Middle) && std::isfinite(g.HalfWidth) && g.HalfWidth != 0.0)) {
      throw GatherError(VariableTitle(model, k) +
                        ": Chebyshev terms need two different, finite limits.");
    }
  }

  CoefArray::LastTerms shape{};
  for (std::size_t s = 0; s < shape.size(); ++s) shape[s] = lastTerm[s];
  try {
    CoefArray::CheckedElementCount(shape);
    for (int k = 0; k <= lastVar; ++k) {
      const auto s = static_cast<std::size_t>(k);
      if (SolvedByElimination(kind[s])) CheckBasisMatrixSize(lastTerm[s] + int64_t{1});
    }
  } catch (const GridTooLarge& e) {
    throw GatherError(e.what());
  }
  try {
    model.Coef.Allocate(shape);
  } catch (const GridTooLarge& e) {
    throw GatherError(e.what());
  }

  model.Equation = fields.Equation;
  model.LowerLimit = lower;
  model.UpperLimit = upper;
  model.LastTerm = lastTerm;
  model.Center = center;
  model.Period = period;
  model.Kind = kind;
}

}  // namespace quon
