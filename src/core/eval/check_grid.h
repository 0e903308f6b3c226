// Where the accuracy check looks: points between the nodes, where an interpolant that
// agrees with the function at every node can still be far off.
//
// Along each variable in use the check coordinates divide every node interval into
// PointsPerInterval + 1 equal parts (1: the midpoints); for a Chebyshev variable the
// intervals are those between its Chebyshev points, narrow near the limits. Their full tensor grid
// may be far larger than the fit's own grid, so the check takes a tensor subset of it: per variable
// an evenly spread selection of the coordinates that always keeps the first and the last
// (the end intervals are where equally spaced interpolation errs most), shrinking the
// longest selection first until the grid fits the budget. Cost: O(sum of the coordinate
// counts); nothing here evaluates anything.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/model/node_geometry.h"
#include "core/model/problem_model.h"

namespace quon {

// How many points the check may compare. Going finer: raise MaxPoints (up to the full grid)
// and PointsPerInterval (check points inside each node interval, per variable).
struct CheckBudget {
  int64_t MaxPoints = 0;          // 0: DefaultCheckPoints
  int32_t PointsPerInterval = 0;  // 0: the most, up to MaxAutoPointsPerInterval, that fit
};

inline constexpr int64_t DefaultCheckShare = 10;
inline constexpr int64_t MinDefaultCheckPoints = 256;
inline constexpr int64_t MaxDefaultCheckPoints = 65536;
inline constexpr int32_t MaxAutoPointsPerInterval = 8;
inline constexpr int32_t MaxPointsPerInterval = 1000;

// A tenth of the fit's grid points (DefaultCheckShare), at least MinDefaultCheckPoints and
// at most MaxDefaultCheckPoints. The function is evaluated once per check point, as the fit
// evaluates it once per node, and a check point costs about as much as a node, so the
// check stays near a tenth of the fit's time (bench/accuracy_check_bench.cpp).
int64_t DefaultCheckPoints(const ProblemModel& model);

struct CheckGrid {
  int32_t Vars = 0;  // LastVar + 1
  int32_t PointsPerInterval = 1;
  // Per variable in use: the number of check coordinates, and the indices (ascending) of
  // those that the tensor subset takes.
  std::array<int64_t, 4> Count{};
  std::array<std::vector<int64_t>, 4> Selected;

  // Check coordinate `index` (0..Count - 1) of variable k, ascending with the index.
  double Coordinate(int k, int64_t index) const;
  // Points of the tensor subset.
  int64_t SelectedPoints() const;

  std::array<double, 4> Lower{};
  std::array<double, 4> Step{};  // the node step
  std::array<NodeGeometry, 4> Geometry{};
};

// The check grid of the model's variables under `budget`. Throws std::invalid_argument
// for a negative budget or a PointsPerInterval above MaxPointsPerInterval.
CheckGrid PlanCheckGrid(const ProblemModel& model, const CheckBudget& budget);

}  // namespace quon
