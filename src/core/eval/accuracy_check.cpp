#include "core/eval/accuracy_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "core/eval/grid_approximation.h"
#include "engine/err_num.h"

namespace quon {
namespace {

constexpr auto kOverflow = static_cast<int32_t>(script::ErrNum::Overflow);

using Index = std::array<int64_t, 4>;  // check-coordinate index per variable

// The figures over the compared points, with the root mean square kept as scale^2 * ssq
// so that huge differences cannot overflow the sum of squares (as BLAS's nrm2 does).
class Tally {
 public:
  void AddFailure(int32_t error) {
    ++points_;
    ++failed_;
    if (firstFailure_ == 0) firstFailure_ = error;
  }

  // True when this point is the new worst one; its index then goes to SetWorst.
  bool Add(double function, double approximation) {
    ++points_;
    const double diff = std::fabs(function - approximation);
    scaleF_ = std::max(scaleF_, std::fabs(function));
    if (diff > 0.0) {
      if (scale_ < diff) {
        ssq_ = 1.0 + ssq_ * (scale_ / diff) * (scale_ / diff);
        scale_ = diff;
      } else {
        ssq_ += (diff / scale_) * (diff / scale_);
      }
    }
    if (haveWorst_ && !(diff > maxAbs_)) return false;
    haveWorst_ = true;
    maxAbs_ = diff;
    worstF_ = function;
    worstA_ = approximation;
    return true;
  }
  void SetWorst(const Index& index) { worst_ = index; }

  bool haveWorst() const { return haveWorst_; }
  const Index& worst() const { return worst_; }

  void Fill(AccuracyResult& result, const CheckGrid& grid) const {
    result.CheckPoints = points_;
    result.FailedPoints = failed_;
    result.FirstFailure = firstFailure_;
    const int64_t good = points_ - failed_;
    if (good == 0) return;
    result.MaxAbsDiff = maxAbs_;
    result.MaxRelDiff = maxAbs_ == 0.0 ? 0.0 : maxAbs_ / scaleF_;
    result.RmsDiff = scale_ * std::sqrt(ssq_ / static_cast<double>(good));
    result.WorstFunction = worstF_;
    result.WorstApproximation = worstA_;
    for (int k = 0; k < grid.Vars; ++k) {
      result.WorstPoint.push_back(grid.Coordinate(k, worst_[static_cast<std::size_t>(k)]));
    }
  }

 private:
  int64_t points_ = 0;
  int64_t failed_ = 0;
  int32_t firstFailure_ = 0;
  double scale_ = 0.0;
  double ssq_ = 0.0;
  double scaleF_ = 0.0;
  bool haveWorst_ = false;
  double maxAbs_ = 0.0;
  Index worst_{};
  double worstF_ = 0.0;
  double worstA_ = 0.0;
};

// Compares function and approximation on the tensor grid of the given check-coordinate
// indices, leaving out the points for which `skip` is true.
template <typename Skip>
void CompareOnGrid(const ProblemModel& model, PointFunctionSource& function, const CheckGrid& grid,
                   const std::array<std::vector<int64_t>, 4>& indices, Skip skip, Tally& tally) {
  const int vars = grid.Vars;
  std::array<std::vector<double>, 4> coords;
  for (int k = 0; k < vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    for (const int64_t i : indices[s]) coords[s].push_back(grid.Coordinate(k, i));
  }
  const std::vector<double> approximation = ApproximationOnGrid(model, coords);

  // The index of the point at position `linear` of the canonical order, the first
  // variable fastest, as the approximation's.
  const auto indexAt = [&](std::size_t linear) {
    Index index{};
    for (int k = 0; k < vars; ++k) {
      const auto& list = indices[static_cast<std::size_t>(k)];
      index[static_cast<std::size_t>(k)] = list[linear % list.size()];
      linear /= list.size();
    }
    return index;
  };
  std::vector<std::size_t> where;
  std::vector<double> points;
  where.reserve(approximation.size());
  points.reserve(approximation.size() * static_cast<std::size_t>(vars));
  for (std::size_t linear = 0; linear < approximation.size(); ++linear) {
    const Index index = indexAt(linear);
    if (skip(index)) continue;
    where.push_back(linear);
    for (int k = 0; k < vars; ++k) {
      points.push_back(grid.Coordinate(k, index[static_cast<std::size_t>(k)]));
    }
  }

  std::vector<double> values;
  std::vector<int32_t> errors;
  EvaluateAtPoints(function, vars, points, values, errors);
  for (std::size_t i = 0; i < where.size(); ++i) {
    const double a = approximation[where[i]];
    if (errors[i] != 0) {
      tally.AddFailure(errors[i]);
    } else if (!std::isfinite(a) || !std::isfinite(values[i] - a)) {
      tally.AddFailure(kOverflow);
    } else if (tally.Add(values[i], a)) {
      tally.SetWorst(indexAt(where[i]));
    }
  }
}

bool InSubset(const CheckGrid& grid, const Index& index) {
  for (int k = 0; k < grid.Vars; ++k) {
    const auto& selected = grid.Selected[static_cast<std::size_t>(k)];
    if (!std::binary_search(selected.begin(), selected.end(), index[static_cast<std::size_t>(k)])) {
      return false;
    }
  }
  return true;
}

}  // namespace

AccuracyResult CheckAccuracy(const ProblemModel& model, PointFunctionSource& function,
                             const CheckBudget& budget) {
  AccuracyResult result;
  const CheckGrid grid = PlanCheckGrid(model, budget);
  if (!model.HaveResults) return result;
  result.Checked = true;
  result.PointsPerInterval = grid.PointsPerInterval;
  for (int k = 0; k < grid.Vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    result.Names.push_back(s < model.VarName.size() ? model.VarName[s] : std::string());
    result.Terms.push_back(model.LastTerm[s] + 1);
  }
  result.Warnings = CheckConditioning(model);
  result.Estimate = EstimateChebyshevError(model);

  Tally tally;
  CompareOnGrid(
      model, function, grid, grid.Selected, [](const Index&) { return false; }, tally);

  // Look again around the worst point, at the coordinates next to it that the subset
  // skipped, while that moves the worst point.
  std::set<Index> refined;
  for (int round = 0; round < MaxRefineRounds && tally.haveWorst(); ++round) {
    const Index centre = tally.worst();
    std::array<std::vector<int64_t>, 4> near;
    for (int k = 0; k < grid.Vars; ++k) {
      const auto s = static_cast<std::size_t>(k);
      for (int64_t i = centre[s] - 1; i <= centre[s] + 1; ++i) {
        if (i >= 0 && i < grid.Count[s]) near[s].push_back(i);
      }
    }
    CompareOnGrid(
        model, function, grid, near,
        [&](const Index& index) { return InSubset(grid, index) || !refined.insert(index).second; },
        tally);
    if (tally.worst() == centre) break;
  }
  tally.Fill(result, grid);
  return result;
}

}  // namespace quon
