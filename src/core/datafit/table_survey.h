// The first pass of a fit on data: how many observations (rows of weight 0 do not count),
// how many lie outside the problem's box, the weighted sums for the mean, each variable's
// distinct coordinates (all of them up to kGridMaxDistinct, for recognising a full grid),
// and whether every weight is the same. Refuses a table without observations
// (PointsFileError) and one with fewer distinct coordinates along a variable than its
// number of terms (DataFitRefused). Cost: one pass, a hash insertion per coordinate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/datafit/data_table.h"
#include "core/datafit/design_rows.h"
#include "core/eval/double_double.h"

namespace quon {

inline constexpr std::size_t kGridMaxDistinct = std::size_t{1} << 16;

struct TableSurvey {
  int64_t Points = 0;
  int64_t OutsideBox = 0;
  DoubleDouble SumW;
  DoubleDouble SumWY;
  // Per variable, its distinct coordinates in increasing order; empty when there are more
  // than kGridMaxDistinct.
  std::vector<std::vector<double>> Distinct;
  bool EqualWeights = true;
  double Weight = 1.0;  // the weight of every row when EqualWeights

  // Whether the observations may form a full grid: equal weights, and as many of them as
  // the product of the distinct coordinates' counts.
  bool MayBeGrid() const;
};

TableSurvey SurveyTable(const ProblemModel& model, const DesignRows& design, DataSource& source,
                        const std::string& table);

}  // namespace quon
