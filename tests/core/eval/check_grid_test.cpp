// Where the check looks: coordinates strictly between the nodes, both end intervals always
// taken, the budget kept.
#include "core/eval/check_grid.h"

#include <gtest/gtest.h>

#include "support/fitted_model.h"

namespace quon {
namespace {

ProblemModel Shape(std::vector<int32_t> terms) {
  ProblemModel model;
  model.LastVar = static_cast<int32_t>(terms.size()) - 1;
  for (std::size_t k = 0; k < terms.size(); ++k) {
    model.LastTerm[k] = terms[k] - 1;
    model.LowerLimit[k] = -1.0;
    model.UpperLimit[k] = 3.0;
  }
  return model;
}

// One point per interval lies halfway between neighbouring nodes; several divide it evenly.
TEST(CheckGrid, PointsDivideEachIntervalEvenly) {
  const CheckGrid midpoints = PlanCheckGrid(Shape({5}), {0, 1});
  ASSERT_EQ(midpoints.Count[0], 4);
  for (int64_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(midpoints.Coordinate(0, i), -0.5 + i);
  const CheckGrid thirds = PlanCheckGrid(Shape({3}), {0, 3});
  ASSERT_EQ(thirds.Count[0], 6);
  const double expected[] = {-0.5, 0.0, 0.5, 1.5, 2.0, 2.5};
  for (int64_t i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(thirds.Coordinate(0, i), expected[i]);
}

TEST(CheckGrid, TakesTheWholeGridWhenItFits) {
  const CheckGrid grid = PlanCheckGrid(Shape({4, 5}), {100, 1});
  EXPECT_EQ(grid.SelectedPoints(), 12);
  EXPECT_EQ(grid.Selected[1], (std::vector<int64_t>{0, 1, 2, 3}));
}

TEST(CheckGrid, AutomaticDensityIsTheLargestThatFits) {
  // 2 x 3 intervals: 6 k^2 points for k per interval; 6 * 16 = 96 <= 100 < 6 * 25.
  const CheckGrid grid = PlanCheckGrid(Shape({3, 4}), {100, 0});
  EXPECT_EQ(grid.PointsPerInterval, 4);
  EXPECT_EQ(grid.SelectedPoints(), 96);
}

struct BudgetCase {
  const char* name;
  std::vector<int32_t> terms;
  int64_t maxPoints;
};

class CheckGridBudget : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(CheckGridBudget, KeepsTheBudgetAndTheEndIntervals) {
  const BudgetCase& c = GetParam();
  const CheckGrid grid = PlanCheckGrid(Shape(c.terms), {c.maxPoints, 1});
  EXPECT_LE(grid.SelectedPoints(), c.maxPoints);
  EXPECT_GE(grid.SelectedPoints() * 3, c.maxPoints) << "far below the budget";
  for (int k = 0; k < grid.Vars; ++k) {
    const auto& selected = grid.Selected[static_cast<std::size_t>(k)];
    ASSERT_GE(selected.size(), 2u);
    EXPECT_EQ(selected.front(), 0);
    EXPECT_EQ(selected.back(), grid.Count[static_cast<std::size_t>(k)] - 1);
    for (std::size_t i = 1; i < selected.size(); ++i) EXPECT_LT(selected[i - 1], selected[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Budgets, CheckGridBudget,
    ::testing::Values(BudgetCase{"DefaultProblem", {10, 10, 10, 10}, 2500},
                      BudgetCase{"UnevenVariables", {200, 3, 40}, 1000},
                      BudgetCase{"OneHugeVariable", {2000000000}, 65536},
                      BudgetCase{"FourHugeVariables", {5000, 5000, 5000, 5000}, 65536}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckGrid, DefaultBudgetIsAQuarterOfTheNodesWithinItsBounds) {
  EXPECT_EQ(DefaultCheckPoints(Shape({10, 10, 10, 10})), 1000);
  EXPECT_EQ(DefaultCheckPoints(Shape({15})), MinDefaultCheckPoints);
  EXPECT_EQ(DefaultCheckPoints(Shape({1000, 1000, 1000})), MaxDefaultCheckPoints);
}

TEST(CheckGrid, AVariableWithOneNodeIsCheckedAtThatNode) {
  ProblemModel model = Shape({4, 2});
  model.LastTerm[1] = 0;
  const CheckGrid grid = PlanCheckGrid(model, {});
  EXPECT_EQ(grid.Count[1], 1);
  EXPECT_EQ(grid.Coordinate(1, 0), -1.0);
}

}  // namespace
}  // namespace quon
