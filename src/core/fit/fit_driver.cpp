#include "core/fit/fit_driver.h"

#include <new>
#include <stdexcept>

#include "core/fit/basis.h"
#include "core/fit/chebyshev_solve.h"
#include "core/fit/sampling.h"
#include "core/fit/solver.h"
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

}  // namespace

SolveOutcome SolveSamples(ProblemModel& model) {
  for (int k = 0; k < VariableCount(model); ++k) {
    switch (model.Kind[static_cast<std::size_t>(k)]) {
      case TermKind::Power:
      case TermKind::Trigonometric:
        break;
      case TermKind::Chebyshev:
        // The samples lie at the Chebyshev points: a cosine transform, no matrix.
        ChebyshevAlongDimension(model.Coef, k);
        continue;
    }
    BasisMatrix matrix = BuildBasisMatrix(model, k);
    if (SolveAlongDimension(matrix, model.Coef, k) == SolveOutcome::Singular) {
      return SolveOutcome::Singular;
    }
  }
  return SolveOutcome::Solved;
}

FitOutcome Compute(ProblemModel& model, FitEngine& engine) {
  model.HaveResults = false;
  // Gathering shapes Coef by LastTerm; anything else would be read out of bounds.
  if (!CoefMatchesLastTerm(model)) {
    return EndedBy(engine, script::ErrNum::SubscriptOutOfRange);
  }
  FitOutcome outcome;
  if (!SampleFunction(model, engine, outcome)) return outcome;

  try {
    if (SolveSamples(model) == SolveOutcome::Singular) return {FitStatus::Singular, 0, {}};
  } catch (const std::bad_alloc&) {
    return EndedBy(engine, script::ErrNum::OutOfMemory);
  } catch (const GridTooLarge&) {
    return EndedBy(engine, script::ErrNum::OutOfMemory);
  }
  model.HaveResults = true;
  return {FitStatus::Success, 0, {}};
}

}  // namespace quon
