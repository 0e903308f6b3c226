// The term advisor's findings in words: the counts as "x=3, y=9", why a wanted accuracy is
// out of reach, and what would help, from how each variable's own sweep ended. Numbers
// are rounded to three significant digits (accuracy_text.h's ShortForm).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/advisor/term_advisor.h"
#include "core/model/problem_model.h"

namespace quon {

// E.g. "x=3, y=9": one NAME=N per variable in use.
std::string TermsText(const ProblemModel& problem, const std::vector<int32_t>& terms);

// E.g. "no numbers of terms up to 30 per variable reach a largest difference of 1E-06;
// the best found is 0.0541 with x=9". Meant for an advice that is not Reached.
std::string UnreachableReason(const ProblemModel& problem, const TermAdvice& advice,
                              const AdvisorOptions& options);

// What would help, one sentence per line: per variable whose own sweep fell short, and
// for the kind of its terms. Empty for an advice that is Reached.
std::vector<std::string> AdviceLines(const ProblemModel& problem, const TermAdvice& advice,
                                     const AdvisorOptions& options);

}  // namespace quon
