#include "core/eval/check_grid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/model/node_geometry.h"

namespace quon {
namespace {

// `count` indices spread evenly over 0..total - 1, the first and last included (the
// middle one alone when count is 1).
std::vector<int64_t> Spread(int64_t total, int64_t count) {
  std::vector<int64_t> indices;
  if (count <= 1) {
    indices.push_back(total / 2);
    return indices;
  }
  indices.reserve(static_cast<std::size_t>(count));
  const double step = static_cast<double>(total - 1) / static_cast<double>(count - 1);
  for (int64_t i = 0; i < count; ++i) {
    // Rounding of huge indices must not make two of them equal or run past the end.
    int64_t index = std::llround(static_cast<double>(i) * step);
    if (i > 0) index = std::max(index, indices.back() + 1);
    indices.push_back(std::min(index, total - count + i));
  }
  return indices;
}

// The product of the counts, saturated at `cap` + 1 so that it cannot overflow.
int64_t CappedProduct(const std::array<int64_t, 4>& counts, int32_t vars, int64_t cap) {
  int64_t product = 1;
  for (int k = 0; k < vars; ++k) {
    const int64_t c = counts[static_cast<std::size_t>(k)];
    if (c != 0 && product > cap / c) return cap + 1;
    product *= c;
  }
  return product;
}

std::array<int64_t, 4> Counts(const ProblemModel& model, int32_t vars, int64_t perInterval) {
  std::array<int64_t, 4> counts{};
  for (int k = 0; k < vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    // A variable with a single node has no interval: its one check coordinate is the node.
    counts[s] = model.LastTerm[s] >= 1 ? int64_t{model.LastTerm[s]} * perInterval : 1;
  }
  return counts;
}

}  // namespace

int64_t DefaultCheckPoints(const ProblemModel& model) {
  int64_t nodes = 1;
  for (int k = 0; k < VariableCount(model); ++k) {
    nodes *= int64_t{model.LastTerm[static_cast<std::size_t>(k)]} + 1;
    if (nodes >= DefaultCheckShare * MaxDefaultCheckPoints) return MaxDefaultCheckPoints;
  }
  return std::clamp(nodes / DefaultCheckShare, MinDefaultCheckPoints, MaxDefaultCheckPoints);
}

double CheckGrid::Coordinate(int k, int64_t index) const {
  const auto s = static_cast<std::size_t>(k);
  if (Count[s] == 1 && Step[s] == 0.0) return Lower[s];
  const int64_t interval = index / PointsPerInterval;
  const int64_t part = index % PointsPerInterval + 1;
  const double fraction =
      static_cast<double>(part) / static_cast<double>(int64_t{PointsPerInterval} + 1);
  const NodeGeometry& g = Geometry[s];
  switch (g.Kind) {
    case TermKind::Power:
    case TermKind::Trigonometric:
      break;
    case TermKind::Chebyshev: {
      // Node indices run against the coordinate: interval i lies between nodes T - i and
      // T - i - 1.
      const auto below = static_cast<int32_t>(g.LastTerm - interval);
      const double a = g.Node(below);
      return a + fraction * (g.Node(below - 1) - a);
    }
  }
  return Lower[s] + (static_cast<double>(interval) + fraction) * Step[s];
}

int64_t CheckGrid::SelectedPoints() const {
  int64_t product = 1;
  for (int k = 0; k < Vars; ++k) {
    product *= static_cast<int64_t>(Selected[static_cast<std::size_t>(k)].size());
  }
  return product;
}

CheckGrid PlanCheckGrid(const ProblemModel& model, const CheckBudget& budget) {
  if (budget.MaxPoints < 0 || budget.PointsPerInterval < 0) {
    throw std::invalid_argument("The number of check points cannot be negative.");
  }
  if (budget.PointsPerInterval > MaxPointsPerInterval) {
    throw std::invalid_argument("At most " + std::to_string(MaxPointsPerInterval) +
                                " check points per node interval are possible.");
  }
  CheckGrid grid;
  grid.Vars = VariableCount(model);
  // Far beyond anything that could be evaluated, and small enough that twice it is safe.
  constexpr int64_t kMostPoints = int64_t{1} << 50;
  const int64_t maxPoints =
      std::min(budget.MaxPoints > 0 ? budget.MaxPoints : DefaultCheckPoints(model), kMostPoints);

  int32_t perInterval = budget.PointsPerInterval;
  if (perInterval == 0) {
    perInterval = 1;
    while (perInterval < MaxAutoPointsPerInterval &&
           CappedProduct(Counts(model, grid.Vars, perInterval + 1), grid.Vars, maxPoints) <=
               maxPoints) {
      ++perInterval;
    }
  }
  grid.PointsPerInterval = perInterval;
  grid.Count = Counts(model, grid.Vars, perInterval);

  std::array<int64_t, 4> take = grid.Count;
  while (CappedProduct(take, grid.Vars, maxPoints) > maxPoints) {
    // Shrink the longest selection; the first of equal ones, so the result is fixed.
    std::size_t longest = 0;
    for (std::size_t k = 1; k < static_cast<std::size_t>(grid.Vars); ++k) {
      if (take[k] > take[longest]) longest = k;
    }
    if (take[longest] == 1) break;
    // Halving while far over the budget keeps the loop short for huge grids; the last
    // steps go one by one so that the grid ends as close to the budget as it can.
    const bool farOver = CappedProduct(take, grid.Vars, 2 * maxPoints) > 2 * maxPoints;
    take[longest] = farOver ? (take[longest] + 1) / 2 : take[longest] - 1;
  }
  for (int k = 0; k < grid.Vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    grid.Selected[s] = Spread(grid.Count[s], take[s]);
    grid.Lower[s] = model.LowerLimit[s];
    grid.Geometry[s] = VariableGeometry(model, k);
    grid.Step[s] = grid.Geometry[s].NodeStep;
  }
  return grid;
}

}  // namespace quon
