#include "fit/sampling.h"

#include <array>
#include <new>
#include <string>
#include <vector>

#include "model/number_forms.h"
#include "script/err_num.h"
#include "script/script_environment.h"

namespace quon {
namespace {

using script::ErrNum;

// The statements that give variable k each of its node values: the name, "=" and the
// print form of j * NodeStep + LowerLimit, computed in that order.
std::vector<std::string> NodeStatements(const ProblemModel& model, std::size_t k) {
  std::vector<std::string> statements;
  const int32_t last = model.LastTerm[k];
  statements.reserve(static_cast<std::size_t>(last) + 1);
  for (int32_t j = 0; j <= last; ++j) {
    const double node = static_cast<double>(j) * model.NodeStep[k] + model.LowerLimit[k];
    statements.push_back(model.VarName[k] + "=" + PrintForm(node));
  }
  return statements;
}

// Runs one step of the fit under its trap. Returns false when the step's error ends the fit.
template <typename Step>
bool Trapped(FitEngine& engine, FitOutcome& ended, Step&& step) {
  try {
    step();
    return true;
  } catch (const ScriptFailure& failure) {
    engine.RecordError(failure.Number);
    if (FitRidesOver(failure.Number)) return true;
    ended = {FitStatus::EndedByError, failure.Number, failure.what()};
  } catch (const std::bad_alloc&) {
    constexpr int32_t kOutOfMemory = 7;
    engine.RecordError(kOutOfMemory);
    ended = {FitStatus::EndedByError, kOutOfMemory, "Out of memory"};
  }
  return false;
}

}  // namespace

bool FitRidesOver(int32_t number) {
  switch (static_cast<ErrNum>(number)) {
    case ErrNum::InvalidCall:
    case ErrNum::Overflow:
    case ErrNum::DivisionByZero:
    case ErrNum::AlreadyReported:
      return true;
    default:
      return false;
  }
}

bool SampleFunction(ProblemModel& model, FitEngine& engine, FitOutcome& ended) {
  // A slot with a single term (every slot above LastVar) is never assigned.
  std::array<std::vector<std::string>, MaxVars> statements;
  const bool prepared = Trapped(engine, ended, [&] {
    for (std::size_t k = 0; k < MaxVars; ++k) {
      if (model.LastTerm[k] != 0) statements[k] = NodeStatements(model, k);
    }
  });
  if (!prepared) return false;

  const auto assign = [&](std::size_t k, int32_t j) {
    return statements[k].empty() || Trapped(engine, ended, [&] {
             engine.ExecuteStatement(statements[k][static_cast<std::size_t>(j)]);
           });
  };
  double* sample = model.Coef.data();
  const std::array<int32_t, 4> last = model.LastTerm;
  for (int32_t j3 = 0; j3 <= last[3]; ++j3) {
    if (!assign(3, j3)) return false;
    for (int32_t j2 = 0; j2 <= last[2]; ++j2) {
      if (!assign(2, j2)) return false;
      for (int32_t j1 = 0; j1 <= last[1]; ++j1) {
        if (!assign(1, j1)) return false;
        for (int32_t j0 = 0; j0 <= last[0]; ++j0, ++sample) {
          if (!assign(0, j0)) return false;
          // A failure ridden over leaves the sample at the 0 of the allocation.
          if (!Trapped(engine, ended, [&] { *sample = engine.fna(); })) return false;
        }
      }
    }
  }
  return true;
}

}  // namespace quon
