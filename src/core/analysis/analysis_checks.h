// What every analysis of a fit checks first, in one place: that the model holds results,
// that no trigonometric variable has a period of 0, and that a point or a box given by
// the user fits the problem. Each failure is an AnalysisError with a message for the user
// (a model without results is a std::logic_error: callers offer the analysis only after
// a fit).
#pragma once

#include <span>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

// The lower and upper limit of each variable in use.
struct Box {
  std::vector<double> Lower;
  std::vector<double> Upper;
};

// Results present and every period usable.
void CheckAnalysable(const ProblemModel& model);

// A variable index in use; `point` one finite coordinate per variable in use, the entry of
// `skip` (a variable whose coordinate is not used, or -1) excepted.
void CheckPoint(const ProblemModel& model, std::span<const double> point, int skip = -1);

// The problem's box: each variable's interval, the smaller limit first.
Box ProblemBox(const ProblemModel& model);

// `box` with a finite lower and upper limit per variable in use, lower <= upper.
void CheckBox(const ProblemModel& model, const Box& box);

}  // namespace quon
