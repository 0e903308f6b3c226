#include "core/advisor/term_advisor.h"

#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/advisor/chebyshev_search.h"
#include "core/fit/basis.h"
#include "core/fit/basis_condition.h"

namespace quon {
namespace {

struct BudgetSpent {};

class Search {
 public:
  Search(ProblemModel problem, PointFunctionSource& function, const AdvisorOptions& options,
         const AdvisorHooks& hooks)
      : model_(std::move(problem)), function_(function), options_(options), hooks_(hooks) {
    model_.Coef = CoefArray();
    model_.HaveResults = false;
    probes_ = MakeProbeSet(model_, function_);
  }

  TermAdvice Run() {
    const int vars = VariableCount(model_);
    try {
      std::vector<int32_t> held;
      for (int k = 0; k < vars; ++k) held.push_back(Moderate(k));
      for (int k = 0; k < vars; ++k) advice_.Sweeps.push_back(Sweep(k, held));
      // A sweep that stalled above the tolerance may have met the error of the others at
      // their moderate counts; with those that reached it held at their answers, it is
      // swept again below that floor.
      std::vector<int32_t> raised = held;
      for (int k = 0; k < vars; ++k) {
        const VariableSweep& sweep = advice_.Sweeps[static_cast<std::size_t>(k)];
        if (sweep.End == SweepEnd::Reached) {
          raised[static_cast<std::size_t>(k)] =
              std::max(sweep.Answer, held[static_cast<std::size_t>(k)]);
        }
      }
      if (raised != held) {
        for (int k = 0; k < vars; ++k) {
          VariableSweep& sweep = advice_.Sweeps[static_cast<std::size_t>(k)];
          if (sweep.End == SweepEnd::Stalled) sweep = Sweep(k, raised);
        }
      }
      std::vector<int32_t> start;
      for (const VariableSweep& sweep : advice_.Sweeps) start.push_back(sweep.Answer);
      if (Allowed(start)) Trim(Grow(start));
    } catch (const TrialCancelled&) {
      advice_.Status = AdviceStatus::Cancelled;
    } catch (const BudgetSpent&) {
      advice_.BudgetSpent = true;
    }
    if (advice_.Status != AdviceStatus::Cancelled) {
      advice_.Status = AdviceStatus::Unreachable;
      // The fewest coefficients of everything tried that met the tolerance: the sweeps
      // may have found a cheaper trial than the joint phase ended with.
      for (const TrialResult& trial : advice_.Tried) {
        if (!Meets(trial)) continue;
        if (advice_.Status != AdviceStatus::Reached ||
            trial.Coefficients < advice_.Best.Coefficients) {
          advice_.Best = trial;
          advice_.Status = AdviceStatus::Reached;
        }
      }
    }
    if (advice_.Status != AdviceStatus::Reached) advice_.Best = best_;
    return advice_;
  }

 private:
  double Error(const TrialResult& trial) const { return MeasuredError(trial, options_); }
  bool Meets(const TrialResult& trial) const { return Error(trial) <= options_.Tolerance; }

  bool IllConditioned(int k, int32_t terms) {
    const auto key = std::make_pair(k, terms);
    const auto found = ill_.find(key);
    if (found != ill_.end()) return found->second;
    // Every fit sets all counts afresh, so the one changed here need not be put back.
    const auto s = static_cast<std::size_t>(k);
    model_.LastTerm[s] = terms - 1;
    const double condition = EstimateCondition(BuildBasisMatrix(model_, k), model_.Kind[s]);
    const bool ill = !(condition <= IllConditionedAbove);
    ill_.emplace(key, ill);
    return ill;
  }

  bool WithinGrid(const std::vector<int32_t>& terms) const {
    int64_t points = 1;
    for (const int32_t n : terms) {
      points *= n;
      if (points > options_.MaxGridPoints) return false;
    }
    return true;
  }

  bool Allowed(const std::vector<int32_t>& terms) {
    for (std::size_t k = 0; k < terms.size(); ++k) {
      if (terms[k] < 2 || terms[k] > options_.MaxTerms) return false;
      if (IllConditioned(static_cast<int>(k), terms[k])) return false;
    }
    return WithinGrid(terms);
  }

  // The trial of `terms`, fitted once: a repeated request is answered from the record.
  const TrialResult& Try(const std::vector<int32_t>& terms) {
    const auto found = made_.find(terms);
    if (found != made_.end()) return advice_.Tried[found->second];
    if (hooks_.Cancelled && hooks_.Cancelled()) throw TrialCancelled{};
    if (advice_.EvaluatedFits >= options_.MaxFits) throw BudgetSpent{};
    TrialResult trial;
    try {
      trial = FitTrial(model_, terms, function_, probes_, hooks_.Cancelled);
    } catch (const GridTooLarge&) {
      // No memory for this grid: out of reach like a failed fit.
      trial.Terms = terms;
    }
    ++advice_.EvaluatedFits;
    if (best_.Terms.empty() || Error(trial) < Error(best_) ||
        (Error(trial) == Error(best_) && trial.Coefficients < best_.Coefficients)) {
      best_ = trial;
    }
    made_.emplace(terms, advice_.Tried.size());
    advice_.Tried.push_back(std::move(trial));
    if (hooks_.Progress) hooks_.Progress(advice_.Tried.back(), best_, advice_.EvaluatedFits);
    return advice_.Tried.back();
  }

  // The largest count up to ModerateTerms (and the cap) that is well conditioned.
  int32_t Moderate(int k) {
    int32_t n = std::min(ModerateTerms, options_.MaxTerms);
    while (n > 2 && IllConditioned(k, n)) --n;
    return n;
  }

  // Variable k's own sweep, the others held at `held`.
  VariableSweep Sweep(int k, std::vector<int32_t> terms) {
    const auto s = static_cast<std::size_t>(k);
    VariableSweep sweep;
    std::map<int32_t, double> errors;
    double falling = INFINITY;  // the error of the last count that clearly lowered it
    int32_t stale = 0;
    for (int32_t n = 2;; ++n) {
      sweep.EndTerms = n;
      terms[s] = n;
      if (n > options_.MaxTerms || !WithinGrid(terms)) {
        sweep.End = SweepEnd::Capped;
        break;
      }
      if (IllConditioned(k, n)) {
        sweep.End = SweepEnd::IllConditioned;
        break;
      }
      const TrialResult& trial = Try(terms);
      if (trial.FailedNode != 0 || trial.Singular) {
        sweep.End = trial.Singular ? SweepEnd::Singular : SweepEnd::FunctionFails;
        break;
      }
      const double error = Error(trial);
      errors[n] = error;
      if (errors.size() == 1 || error < sweep.BestError) {
        sweep.BestError = error;
        sweep.BestTerms = n;
      }
      if (error <= options_.Tolerance) {
        sweep.End = SweepEnd::Reached;
        sweep.Answer = n;
        return sweep;
      }
      if (error < StallRatio * falling) {
        falling = error;
        stale = 0;
      } else if (++stale >= StallPatience && n > ModerateTerms) {
        sweep.End = error > 2 * sweep.BestError ? SweepEnd::Grew : SweepEnd::Stalled;
        break;
      }
    }
    sweep.Answer = sweep.BestTerms;
    for (const auto& [n, error] : errors) {
      if (error <= 2 * sweep.BestError) {
        sweep.Answer = n;
        break;
      }
    }
    return sweep;
  }

  // The best usable step of `step` terms on one variable from `terms`, or nothing.
  std::vector<int32_t> BestStep(const std::vector<int32_t>& terms, int32_t step, double& error) {
    std::vector<int32_t> chosen;
    for (std::size_t k = 0; k < terms.size(); ++k) {
      std::vector<int32_t> next = terms;
      next[k] += step;
      if (!Allowed(next)) continue;
      const double e = Error(Try(next));
      if (e < error) {
        error = e;
        chosen = std::move(next);
      }
    }
    return chosen;
  }

  // Adds terms, one variable at a time, while the tolerance is not met and a step helps;
  // a step of two is tried when no step of one helps (an even trigonometric count adds
  // only a cosine).
  std::vector<int32_t> Grow(std::vector<int32_t> terms) {
    double error = Error(Try(terms));
    while (error > options_.Tolerance) {
      std::vector<int32_t> next = BestStep(terms, 1, error);
      if (next.empty()) next = BestStep(terms, 2, error);
      if (next.empty()) break;
      terms = std::move(next);
    }
    return terms;
  }

  // Takes terms away while the tolerance stays met, the largest saving first.
  void Trim(std::vector<int32_t> terms) {
    if (!Meets(Try(terms))) return;
    for (;;) {
      std::vector<int32_t> chosen;
      int64_t fewest = 0;
      for (std::size_t k = 0; k < terms.size(); ++k) {
        std::vector<int32_t> next = terms;
        --next[k];
        if (!Allowed(next)) continue;
        const TrialResult& trial = Try(next);
        if (Meets(trial) && (chosen.empty() || trial.Coefficients < fewest)) {
          fewest = trial.Coefficients;
          chosen = std::move(next);
        }
      }
      if (chosen.empty()) return;
      terms = std::move(chosen);
    }
  }

  ProblemModel model_;
  PointFunctionSource& function_;
  const AdvisorOptions& options_;
  const AdvisorHooks& hooks_;
  TermAdvice advice_;
  TrialResult best_;
  ProbeSet probes_;
  std::map<std::vector<int32_t>, std::size_t> made_;  // index into advice_.Tried
  std::map<std::pair<int, int32_t>, bool> ill_;
};

void CheckOptions(const ProblemModel& problem, const AdvisorOptions& options) {
  if (!(options.Tolerance > 0) || !std::isfinite(options.Tolerance)) {
    throw std::invalid_argument("the wanted accuracy must be a number above 0");
  }
  if ((options.MaxTerms != 0 && options.MaxTerms < 2) || options.MaxTerms > MostMaxTerms) {
    throw std::invalid_argument("the cap on terms must be from 2 to " +
                                std::to_string(MostMaxTerms));
  }
  if (options.MaxGridPoints < 4 || options.MaxFits < 1) {
    throw std::invalid_argument("the grid and fit limits must allow a fit");
  }
  if (problem.LastVar < 0 || problem.LastVar >= MaxVars) {
    throw std::invalid_argument("the problem has no variables to fit");
  }
}

}  // namespace

double MeasuredError(const TrialResult& trial, const AdvisorOptions& options) {
  return options.Relative ? trial.MaxRelDiff : trial.MaxAbsDiff;
}

TermAdvice SuggestTerms(ProblemModel problem, PointFunctionSource& function,
                        const AdvisorOptions& options, const AdvisorHooks& hooks) {
  CheckOptions(problem, options);
  AdvisorOptions resolved = options;
  const bool chebyshev = AllChebyshev(problem);
  if (resolved.MaxTerms == 0)
    resolved.MaxTerms = chebyshev ? DefaultChebyshevMaxTerms : DefaultMaxTerms;
  TermAdvice advice = chebyshev
                          ? SuggestChebyshevTerms(std::move(problem), function, resolved, hooks)
                          : Search(std::move(problem), function, resolved, hooks).Run();
  advice.MaxTerms = resolved.MaxTerms;
  return advice;
}

}  // namespace quon
