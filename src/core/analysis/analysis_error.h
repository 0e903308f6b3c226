// The one failure of the analysis of a fit (extremes, roots, means and variances): a box,
// point or variable that does not fit the problem, a zero period, or sums that overflow.
// what() is a message for the user.
#pragma once

#include <stdexcept>

namespace quon {

class AnalysisError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quon
