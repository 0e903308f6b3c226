#include "fit/fit_driver.h"

#include <new>
#include <stdexcept>

#include "fit/basis.h"
#include "fit/sampling.h"
#include "fit/solver.h"

namespace quon {
namespace {

constexpr int32_t kOutOfMemory = 7;
constexpr int32_t kSubscriptOutOfRange = 9;

bool CoefMatchesLastTerm(const ProblemModel& model) {
  if (model.Coef.empty()) return false;
  for (int k = 0; k < MaxVars; ++k) {
    if (model.Coef.extent(k) != model.LastTerm[static_cast<std::size_t>(k)] + 1) return false;
  }
  return true;
}

FitOutcome EndedBy(FitEngine& engine, int32_t number, const char* description) {
  engine.RecordError(number);
  return {FitStatus::EndedByError, number, description};
}

}  // namespace

FitOutcome Compute(ProblemModel& model, FitEngine& engine) {
  model.HaveResults = false;
  // Gathering shapes Coef by LastTerm; anything else would be read out of bounds.
  if (!CoefMatchesLastTerm(model)) {
    return EndedBy(engine, kSubscriptOutOfRange, "Subscript out of range");
  }
  FitOutcome outcome;
  if (!SampleFunction(model, engine, outcome)) return outcome;

  for (int k = 0; k <= model.LastVar; ++k) {
    try {
      BasisMatrix matrix = BuildBasisMatrix(model, k);
      if (SolveAlongDimension(matrix, model.Coef, k) == SolveOutcome::Singular) {
        return {FitStatus::Singular, 0, {}};
      }
    } catch (const std::bad_alloc&) {
      return EndedBy(engine, kOutOfMemory, "Out of memory");
    } catch (const GridTooLarge&) {
      return EndedBy(engine, kOutOfMemory, "Out of memory");
    }
  }
  model.HaveResults = true;
  return {FitStatus::Success, 0, {}};
}

}  // namespace quon
