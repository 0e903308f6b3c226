#include "core/advisor/chebyshev_search.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/eval/chebyshev_tail.h"
#include "core/fit/fit_driver.h"
#include "core/fit/grid_position.h"
#include "core/model/node_geometry.h"

namespace quon {
namespace {

constexpr int32_t kFirstCount = 5;
// Raising the chopped counts this many times before the grown ones are tried.
constexpr int kRaises = 3;

struct Grid {
  std::vector<int32_t> Counts;
  CoefArray Samples;
};

class ChebyshevSearch {
 public:
  ChebyshevSearch(ProblemModel problem, PointFunctionSource& function,
                  const AdvisorOptions& options, const AdvisorHooks& hooks)
      : model_(std::move(problem)), function_(function), options_(options), hooks_(hooks) {
    model_.Coef = CoefArray();
    model_.HaveResults = false;
    vars_ = VariableCount(model_);
  }

  TermAdvice Run() {
    try {
      const std::vector<int32_t> grown = Grow();
      if (!grown.empty()) Confirm(grown);
    } catch (const TrialCancelled&) {
      advice_.Status = AdviceStatus::Cancelled;
      return advice_;
    } catch (const BudgetSpentError&) {
      advice_.BudgetSpent = true;
    }
    if (advice_.Status != AdviceStatus::Reached) advice_.Best = best_;
    return advice_;
  }

 private:
  struct BudgetSpentError {};

  bool Cancelled() const { return hooks_.Cancelled && hooks_.Cancelled(); }

  int64_t Points(const std::vector<int32_t>& counts) const {
    int64_t points = 1;
    for (const int32_t n : counts) points *= n;
    return points;
  }

  // Samples the grid of `counts`, taking the values of `previous` where its nodes are
  // nodes of the new grid. False when the function fails at a node.
  bool Sample(Grid& grid, const Grid* previous) {
    CoefArray::LastTerms shape{};
    for (int k = 0; k < vars_; ++k) shape[static_cast<std::size_t>(k)] = grid.Counts[k] - 1;
    grid.Samples.Allocate(shape);
    std::vector<NodeGeometry> geometry;
    for (int k = 0; k < vars_; ++k) {
      model_.LastTerm[static_cast<std::size_t>(k)] = grid.Counts[k] - 1;
      geometry.push_back(VariableGeometry(model_, k));
    }
    // Node j of the new grid is node j / step of the old one when j is a multiple of step.
    std::vector<int32_t> step(static_cast<std::size_t>(vars_), 0);
    if (previous != nullptr) {
      for (int k = 0; k < vars_; ++k) {
        const int32_t oldLast = previous->Counts[k] - 1;
        const int32_t newLast = grid.Counts[k] - 1;
        step[k] = newLast % oldLast == 0 ? newLast / oldLast : 0;
      }
    }
    std::vector<std::size_t> wanted;
    std::vector<double> points;
    GridPosition position(grid.Samples, 0);
    for (std::size_t n = 0; n < grid.Samples.size(); ++n, position.Advance()) {
      bool reused = previous != nullptr;
      std::array<int32_t, 4> old{};
      for (int k = 0; k < vars_ && reused; ++k) {
        const int32_t j = position.node(k);
        reused = step[k] != 0 && j % step[k] == 0;
        old[static_cast<std::size_t>(k)] = reused ? j / step[k] : 0;
      }
      if (reused) {
        grid.Samples.data()[n] = previous->Samples(old[0], old[1], old[2], old[3]);
        continue;
      }
      wanted.push_back(n);
      for (int k = 0; k < vars_; ++k) points.push_back(geometry[k].Node(position.node(k)));
    }
    if (Cancelled()) throw TrialCancelled{};
    std::vector<double> values;
    std::vector<int32_t> errors;
    EvaluateAtPoints(function_, vars_, points, values, errors);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      if (errors[i] != 0) return false;
      grid.Samples.data()[wanted[i]] = values[i];
    }
    return true;
  }

  // The tolerance in absolute terms.
  double Absolute(const CoefArray& samples) const {
    if (!options_.Relative) return options_.Tolerance;
    double largest = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      largest = std::max(largest, std::fabs(samples.data()[i]));
    }
    return options_.Tolerance * largest;
  }

  // Grows the counts until every variable's tail is below the tolerance or capped, and
  // returns the counts grown; the largest coefficients of the last grid's slices along
  // each variable in slices_.
  std::vector<int32_t> Grow() {
    Grid grid;
    grid.Counts.assign(static_cast<std::size_t>(vars_), std::min(kFirstCount, options_.MaxTerms));
    advice_.Sweeps.assign(static_cast<std::size_t>(vars_), VariableSweep{});
    std::vector<bool> done(static_cast<std::size_t>(vars_), false);
    Grid previous;
    bool havePrevious = false;
    for (;;) {
      if (!Sample(grid, havePrevious ? &previous : nullptr)) {
        for (VariableSweep& sweep : advice_.Sweeps) sweep.End = SweepEnd::FunctionFails;
        return {};
      }
      model_.Coef = grid.Samples;
      SolveSamples(model_);
      double scale = 0.0;
      for (std::size_t i = 0; i < model_.Coef.size(); ++i) {
        scale += std::fabs(model_.Coef.data()[i]);
      }
      tolerance_ = Absolute(grid.Samples);
      const double share = tolerance_ / (2.0 * vars_);
      slices_.clear();
      std::vector<int32_t> next = grid.Counts;
      for (int k = 0; k < vars_; ++k) {
        const auto s = static_cast<std::size_t>(k);
        // The chop goes by the largest coefficient of each slice: their sums would count
        // the rounding noise of every other coefficient of the slice as if it mattered.
        slices_.push_back(CoefficientEnvelope(model_.Coef, k, true));
        VariableSweep& sweep = advice_.Sweeps[s];
        sweep.EndTerms = grid.Counts[s];
        if (done[s]) continue;
        const TailEstimate tail = EstimateTail(CoefficientEnvelope(model_.Coef, k), scale,
                                               SlicesPerEntry(model_.Coef, k));
        if (tail.Converged && tail.Error <= share) {
          done[s] = true;
          sweep.End = SweepEnd::Reached;
          continue;
        }
        const int32_t grownCount = std::min(2 * grid.Counts[s] - 1, options_.MaxTerms);
        if (grownCount == grid.Counts[s]) {
          done[s] = true;
          sweep.End = SweepEnd::Capped;
          continue;
        }
        next[s] = grownCount;
      }
      if (next == grid.Counts) return grid.Counts;
      if (Points(next) > options_.MaxGridPoints) {
        for (int k = 0; k < vars_; ++k) {
          if (!done[static_cast<std::size_t>(k)]) advice_.Sweeps[k].End = SweepEnd::Capped;
        }
        return grid.Counts;
      }
      previous = std::move(grid);
      havePrevious = true;
      grid = Grid{};
      grid.Counts = std::move(next);
    }
  }

  const TrialResult& Try(const std::vector<int32_t>& counts) {
    for (const TrialResult& made : advice_.Tried) {
      if (made.Terms == counts) return made;
    }
    if (Cancelled()) throw TrialCancelled{};
    if (advice_.EvaluatedFits >= options_.MaxFits) throw BudgetSpentError{};
    if (probes_.Values.empty()) probes_ = MakeProbeSet(model_, function_);
    TrialResult trial;
    try {
      trial = FitTrial(model_, counts, function_, probes_, hooks_.Cancelled);
    } catch (const GridTooLarge&) {
      trial.Terms = counts;
    }
    ++advice_.EvaluatedFits;
    const double error = MeasuredError(trial, options_);
    if (best_.Terms.empty() || error < MeasuredError(best_, options_)) best_ = trial;
    advice_.Tried.push_back(std::move(trial));
    if (hooks_.Progress) hooks_.Progress(advice_.Tried.back(), best_, advice_.EvaluatedFits);
    return advice_.Tried.back();
  }

  // The chopped counts, raised towards the grown ones while the sampled check finds them
  // short; the grown counts last.
  void Confirm(const std::vector<int32_t>& grown) {
    std::vector<int32_t> counts;
    for (int k = 0; k < vars_; ++k) {
      const auto s = static_cast<std::size_t>(k);
      counts.push_back(std::min(grown[s], ChopCount(slices_[s], tolerance_ / vars_)));
    }
    for (int raise = 0;; ++raise) {
      const TrialResult& trial = Try(counts);
      if (MeasuredError(trial, options_) <= options_.Tolerance) {
        advice_.Status = AdviceStatus::Reached;
        advice_.Best = trial;
        for (int k = 0; k < vars_; ++k) advice_.Sweeps[k].Answer = counts[k];
        return;
      }
      if (counts == grown) return;
      for (int k = 0; k < vars_; ++k) {
        const auto s = static_cast<std::size_t>(k);
        counts[s] = raise + 1 >= kRaises
                        ? grown[s]
                        : std::min(grown[s], counts[s] + std::max<int32_t>(2, counts[s] / 8));
      }
    }
  }

  ProblemModel model_;
  PointFunctionSource& function_;
  const AdvisorOptions& options_;
  const AdvisorHooks& hooks_;
  int vars_ = 1;
  TermAdvice advice_;
  TrialResult best_;
  ProbeSet probes_;
  std::vector<std::vector<double>> slices_;
  double tolerance_ = 0.0;
};

}  // namespace

bool AllChebyshev(const ProblemModel& problem) {
  for (int k = 0; k < VariableCount(problem); ++k) {
    if (problem.Kind[static_cast<std::size_t>(k)] != TermKind::Chebyshev) return false;
  }
  return true;
}

TermAdvice SuggestChebyshevTerms(ProblemModel problem, PointFunctionSource& function,
                                 const AdvisorOptions& options, const AdvisorHooks& hooks) {
  return ChebyshevSearch(std::move(problem), function, options, hooks).Run();
}

}  // namespace quon
