// The diagnostics of a fit on data as an ordered list of (key, value text) pairs, for any
// writer of "key: value" lines (or of one object): points, outside_box, residual_sd,
// r_squared, max_residual, worst_row, condition, then one "coefficient" per coefficient in
// the listing's order, its value "LABEL VALUE STANDARD_ERROR". LABEL is the product of
// factors as the listing writes it ("*x^2*sin(y)"), "1" for the constant term; numbers
// have 17 significant digits, so that they read back exactly.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

using StatisticsLine = std::pair<std::string, std::string>;

// Precondition: the model holds a fit on data (Origin Data, HaveResults).
std::vector<StatisticsLine> DataFitStatistics(const ProblemModel& model);

// One line that sums the diagnostics up, for the window's accuracy line.
std::string DataFitSummaryLine(const ProblemModel& model);

// The product of factors of the coefficient at canonical position `position`, as above.
std::string CoefficientLabel(const ProblemModel& model, std::size_t position);

}  // namespace quon
