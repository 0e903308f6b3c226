#include "core/fit/sampling.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <vector>

#include "core/fit/grid_position.h"
#include "core/fit/parallel_sampling.h"
#include "core/model/node_geometry.h"
#include "engine/err_num.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"

namespace quon {
namespace {

using script::ErrNum;
using NodeStatements = std::array<std::vector<std::string>, MaxVars>;

// Grids smaller than this are sampled in order through the engine, point by point.
constexpr std::size_t kParallelMinimum = std::size_t{1} << 14;

// The statements that give variable k each of its node values: the name, "=" and the
// print form of the node. None for a slot with a single term (every slot above LastVar),
// which is never assigned.
NodeStatements MakeNodeStatements(const ProblemModel& model) {
  NodeStatements statements;
  for (int k = 0; k < MaxVars; ++k) {
    const NodeGeometry g = VariableGeometry(model, k);
    if (g.LastTerm == 0) continue;
    auto& own = statements[static_cast<std::size_t>(k)];
    own.reserve(static_cast<std::size_t>(g.LastTerm) + 1);
    for (int32_t j = 0; j <= g.LastTerm; ++j) {
      own.push_back(model.VarName[static_cast<std::size_t>(k)] + "=" + PrintForm(g.Node(j)));
    }
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
    constexpr auto kOutOfMemory = static_cast<int32_t>(ErrNum::OutOfMemory);
    engine.RecordError(kOutOfMemory);
    ended = {FitStatus::EndedByError, kOutOfMemory, script::ErrorDescription(ErrNum::OutOfMemory)};
  }
  return false;
}

// Samples the points begin..end-1 (canonical positions) through the engine. The variables
// are all assigned at `begin`, outermost first, as the nested loops of the canonical order
// assign them at the first point; after that a variable is assigned only when its own node
// index changes, outer variables before inner ones.
bool SampleRange(ProblemModel& model, FitEngine& engine, const NodeStatements& statements,
                 std::size_t begin, std::size_t end, FitOutcome& ended) {
  GridPosition position(model.Coef, begin);
  const auto assign = [&](int k) {
    const auto& own = statements[static_cast<std::size_t>(k)];
    return own.empty() || Trapped(engine, ended, [&] {
             engine.ExecuteStatement(own[static_cast<std::size_t>(position.node(k))]);
           });
  };
  int changed = MaxVars - 1;  // the outermost variable whose node changed
  double* samples = model.Coef.data();
  for (std::size_t n = begin; n < end; ++n) {
    for (int k = changed; k >= 0; --k) {
      if (!assign(k)) return false;
    }
    // A failure ridden over leaves the sample at the 0 of the allocation.
    if (!Trapped(engine, ended, [&] { samples[n] = engine.fna(); })) return false;
    changed = position.Advance();
  }
  return true;
}

}  // namespace

bool FitRidesOver(int32_t number) { return ScriptEnvironment::IsNumericFailure(number); }

bool SampleFunction(ProblemModel& model, FitEngine& engine, FitOutcome& ended) {
  NodeStatements statements;
  if (!Trapped(engine, ended, [&] { statements = MakeNodeStatements(model); })) return false;
  const std::size_t total = model.Coef.size();
  // A single core takes the same path with one thread: its evaluator works on many
  // points at once.
  if (total < kParallelMinimum) {
    return SampleRange(model, engine, statements, 0, total, ended);
  }

  // The first point on this thread: it checks the statements and the function text (a
  // syntax error ends the fit here, with the engine's one message).
  if (!SampleRange(model, engine, statements, 0, 1, ended)) return false;
  std::unique_ptr<ParallelFunction> function;
  if (!Trapped(engine, ended, [&] { function = engine.PrepareParallel(statements); })) {
    return false;
  }
  if (!function) return SampleRange(model, engine, statements, 1, total, ended);

  ParallelSamples result;
  if (!Trapped(engine, ended, [&] { result = SampleInParallel(model.Coef, *function, 1); })) {
    return false;
  }
  if (result.FirstEnding < total) {
    // The first point whose error ends the fit decides, as it would in order: it is
    // sampled again through the engine, which reports its error once, and the fit ends.
    // Later samples are cleared, as the fit in order would never have taken them.
    std::fill(model.Coef.data() + result.FirstEnding + 1, model.Coef.data() + total, 0.0);
    return SampleRange(model, engine, statements, result.FirstEnding, total, ended);
  }
  if (result.LastRiddenNumber != 0) engine.RecordError(result.LastRiddenNumber);
  return true;
}

}  // namespace quon
