#include "core/fit/fit_driver.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "core/fit/basis.h"
#include "core/fit/chebyshev_solve.h"
#include "core/fit/sampling.h"
#include "core/fit/solver.h"
#include "core/model/node_geometry.h"
#include "engine/err_num.h"

namespace quon {
namespace {

bool CoefMatchesLastTerm(const ProblemModel& model) {
  if (model.Coef.empty()) return false;
  for (int k = 0; k < MaxVars; ++k) {
    if (model.Coef.extent(k) != model.LastTerm[static_cast<std::size_t>(k)] + 1) return false;
  }
  return true;
}

FitOutcome EndedBy(FitEngine& engine, script::ErrNum error) {
  const auto number = static_cast<int32_t>(error);
  engine.RecordError(number);
  return {FitStatus::EndedByError, number, script::ErrorDescription(error)};
}

// Why the system of variable k is singular, in the terms the user typed.
std::string SingularReason(const ProblemModel& model, int k) {
  const NodeGeometry g = VariableGeometry(model, k);
  const std::string name = "variable " + model.VarName[static_cast<std::size_t>(k)];
  if (g.NodeStep == 0.0) {
    return "the limits of " + name + " are equal, so all its nodes coincide.";
  }
  if (UsesPeriod(g.Kind) && g.Period == 0.0) {
    return "the period of " + name + " is 0, so its trigonometric terms are constant.";
  }
  return "the terms of " + name +
         " take linearly dependent values at its nodes (a period that divides the node "
         "spacing, or terms too many for the arithmetic).";
}

}  // namespace

double EliminationOperations(const ProblemModel& model) {
  double grid = 1;
  for (int k = 0; k < VariableCount(model); ++k) {
    grid *= model.LastTerm[static_cast<std::size_t>(k)] + 1.0;
  }
  double operations = 0;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    const double n = model.LastTerm[s] + 1.0;
    switch (model.Kind[s]) {
      case TermKind::Power:
      case TermKind::Trigonometric:
        operations += n * n * n / 3 + n * grid;
        break;
      case TermKind::Chebyshev:
        // A cosine transform of every line: a few operations per sample and doubling.
        operations += 5 * std::log2(2 * n) * grid;
        break;
    }
  }
  return operations;
}

std::optional<int> SolveSamples(ProblemModel& model, const FitProgress& progress) {
  for (int k = 0; k < VariableCount(model); ++k) {
    switch (model.Kind[static_cast<std::size_t>(k)]) {
      case TermKind::Power:
      case TermKind::Trigonometric: {
        BasisMatrix matrix = BuildBasisMatrix(model, k);
        if (SolveAlongDimension(matrix, model.Coef, k) == SolveOutcome::Singular) return k;
        break;
      }
      case TermKind::Chebyshev:
        // The samples lie at the Chebyshev points: a cosine transform, no matrix.
        ChebyshevAlongDimension(model.Coef, k);
        break;
    }
    if (progress) progress(k + 1, VariableCount(model));
  }
  return std::nullopt;
}

FitOutcome Compute(ProblemModel& model, FitEngine& engine, const FitProgress& progress) {
  model.HaveResults = false;
  // Gathering shapes Coef by LastTerm; anything else would be read out of bounds.
  if (!CoefMatchesLastTerm(model)) {
    return EndedBy(engine, script::ErrNum::SubscriptOutOfRange);
  }
  FitOutcome outcome;
  if (!SampleFunction(model, engine, outcome)) return outcome;
  if (progress) progress(0, VariableCount(model));

  try {
    if (const std::optional<int> singular = SolveSamples(model, progress)) {
      return {FitStatus::Singular, 0, SingularReason(model, *singular)};
    }
  } catch (const std::bad_alloc&) {
    return EndedBy(engine, script::ErrNum::OutOfMemory);
  } catch (const GridTooLarge&) {
    return EndedBy(engine, script::ErrNum::OutOfMemory);
  }
  const double* coefficients = model.Coef.data();
  if (!std::all_of(coefficients, coefficients + model.Coef.size(),
                   [](double c) { return std::isfinite(c); })) {
    return {FitStatus::Overflow, 0, FitOverflowMessage};
  }
  model.HaveResults = true;
  return {FitStatus::Success, 0, {}};
}

}  // namespace quon
