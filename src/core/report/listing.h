// The coefficient listing: "COEFFICIENTS:", an empty line, then one line per coefficient
// (its term line, see term_label.h) in the storage order of Coef, the first variable's
// term index fastest, with an empty line after each run of the first, second and third
// variable's index. With N0..N3 index values per slot it has
// 2 + N0*N1*N2*N3 + N1*N2*N3 + N2*N3 + N3 lines.
//
// Any line can be had on its own in O(1) (a list view shows millions of them on demand),
// or every line in order through a sink. The extents are those of the model's Coef, which
// match LastTerm(k) + 1 whenever HaveResults is true. An unallocated Coef has no listing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/model/problem_model.h"

namespace quon {

inline constexpr const char* ListingHeading = "COEFFICIENTS:";

// Number of lines of the listing of the model's coefficients.
int64_t ListingLineCount(const ProblemModel& model);

// Line `line` (from 0) of the listing; std::out_of_range outside 0..ListingLineCount - 1.
std::string ListingLine(const ProblemModel& model, int64_t line);

// Hands every line of the listing, first to last, to lineSink. pendingEventsHook runs after
// each complete run of the third variable's index (before that run's empty line), where a
// window processes its pending events during a long listing.
void ListCoefficients(const ProblemModel& model,
                      const std::function<void(const std::string&)>& lineSink,
                      const std::function<void()>& pendingEventsHook);

}  // namespace quon
