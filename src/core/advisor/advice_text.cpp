#include "core/advisor/advice_text.h"

#include <cmath>
#include <cstddef>

#include "core/eval/accuracy_text.h"

namespace quon {
namespace {

const std::string& NameOf(const ProblemModel& problem, std::size_t k) { return problem.VarName[k]; }

std::string Kind(const ProblemModel& problem, std::size_t k) { return KindName(problem.Kind[k]); }

bool IsTrigonometric(const ProblemModel& problem, std::size_t k) {
  return problem.Kind[k] == TermKind::Trigonometric;
}

// Whether the interval of a trigonometric variable is a whole number of periods: its
// first and last nodes then fall on the same point of the period, two rows of the basis
// matrix are equal and the system is singular whatever the count.
bool SpansWholePeriods(const ProblemModel& problem, std::size_t k) {
  if (!IsTrigonometric(problem, k) || !(problem.Period[k] != 0)) return false;
  const double periods = (problem.UpperLimit[k] - problem.LowerLimit[k]) / problem.Period[k];
  const double whole = std::round(periods);
  return whole != 0 && std::abs(periods - whole) <= 1e-9 * std::abs(whole);
}

std::string SweepAdvice(const ProblemModel& problem, std::size_t k, const VariableSweep& sweep,
                        int32_t cap) {
  const std::string name = NameOf(problem, k) + ": ";
  const std::string kind = Kind(problem, k);
  const std::string best = std::to_string(sweep.BestTerms);
  switch (sweep.End) {
    case SweepEnd::Reached:
      return {};
    case SweepEnd::Grew:
      return name + "the difference grows again beyond " + best + " " + kind +
             " terms (equally spaced nodes); use no more than " + best +
             ", or narrow the interval.";
    case SweepEnd::Stalled:
      return name + "the difference stops falling near " + ShortForm(sweep.BestError) + " from " +
             best + " terms on; a narrower interval may help.";
    case SweepEnd::IllConditioned:
      // Power terms lose conditioning on wide intervals, sines and cosines on intervals
      // short against their period.
      return name + std::to_string(sweep.EndTerms) + " " + kind +
             " terms are ill-conditioned on this interval; " +
             (IsTrigonometric(problem, k) ? "an interval nearer to (but short of) one period"
                                          : "a narrower interval") +
             " lets more terms count.";
    case SweepEnd::Singular:
      return name + std::to_string(sweep.EndTerms) + " " + kind +
             " terms give a singular system; change the interval or the period.";
    case SweepEnd::Capped:
      return name + "the cap of " + std::to_string(cap) +
             " terms (or the grid limit) was reached; a higher cap may help.";
    case SweepEnd::FunctionFails:
      return name + "the function cannot be evaluated at some nodes; change the interval.";
  }
  return {};
}

}  // namespace

std::string TermsText(const ProblemModel& problem, const std::vector<int32_t>& terms) {
  std::string text;
  for (std::size_t k = 0; k < terms.size(); ++k) {
    if (k > 0) text += ", ";
    text += NameOf(problem, k) + "=" + std::to_string(terms[k]);
  }
  return text;
}

std::string UnreachableReason(const ProblemModel& problem, const TermAdvice& advice,
                              const AdvisorOptions& options) {
  const std::string wanted = std::string(options.Relative ? "a relative" : "a") +
                             " largest difference of " + ShortForm(options.Tolerance);
  const int32_t cap = advice.MaxTerms > 0 ? advice.MaxTerms : options.MaxTerms;
  std::string text =
      "no numbers of terms up to " + std::to_string(cap) + " per variable reach " + wanted;
  if (advice.BudgetSpent) text += " within " + std::to_string(options.MaxFits) + " fits";
  if (advice.Best.Terms.empty() || !std::isfinite(MeasuredError(advice.Best, options))) {
    return text + "; no fit could be measured";
  }
  return text + "; the best found is " + ShortForm(MeasuredError(advice.Best, options)) + " with " +
         TermsText(problem, advice.Best.Terms);
}

std::vector<std::string> AdviceLines(const ProblemModel& problem, const TermAdvice& advice,
                                     const AdvisorOptions& options) {
  std::vector<std::string> lines;
  if (advice.Status == AdviceStatus::Reached) return lines;
  for (std::size_t k = 0; k < advice.Sweeps.size(); ++k) {
    if (SpansWholePeriods(problem, k)) {
      lines.push_back(NameOf(problem, k) +
                      ": the interval spans a whole number of periods, so its first and "
                      "last nodes coincide; take an interval shorter than a period.");
      continue;
    }
    const std::string line = SweepAdvice(problem, k, advice.Sweeps[k],
                                         advice.MaxTerms > 0 ? advice.MaxTerms : options.MaxTerms);
    if (!line.empty()) lines.push_back(line);
    if (problem.Kind[k] == TermKind::Power && advice.Sweeps[k].End != SweepEnd::Reached) {
      lines.push_back(NameOf(problem, k) +
                      ": if the function is periodic in it, trigonometric terms with its "
                      "period, over an interval shorter than one period, may reach it.");
    }
  }
  return lines;
}

}  // namespace quon
