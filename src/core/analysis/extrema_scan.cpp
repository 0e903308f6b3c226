#include "core/analysis/extrema_scan.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <string>

#include "core/analysis/analysis_error.h"
#include "core/analysis/term_scales.h"
#include "core/eval/mode_products.h"
#include "core/eval/variable_terms.h"
#include "core/model/node_geometry.h"
#include "core/parallel/parallel_for.h"
#include "engine/number_text.h"

namespace quon {
namespace {

// Grid points per slab: enough that the slice recomputed on either side of a slab for its
// neighbours costs little (a quarter on a 4 x 40 fit) and the mode products' inner loops
// are long, few enough that each thread's values stay in the tens of megabytes.
constexpr std::size_t kSlabPoints = std::size_t{1} << 22;

struct Found {
  double Value;
  std::size_t Index;  // canonical index in the whole grid
};

// The `count` best local extremes seen, under a strict order (value, then the smaller
// index), so that the set kept does not depend on how the slabs were shared out.
class Keeper {
 public:
  Keeper(std::size_t count, bool largest) : count_(count), largest_(largest) {}

  bool Better(const Found& a, const Found& b) const {
    if (a.Value != b.Value) return largest_ ? a.Value > b.Value : a.Value < b.Value;
    return a.Index < b.Index;
  }
  // Whether a value could still be kept.
  bool Wants(double value, std::size_t index) const {
    return kept_.size() < count_ || Better(Found{value, index}, kept_.front());
  }
  void Offer(const Found& found) {
    if (!Wants(found.Value, found.Index)) return;
    const auto worstFirst = [this](const Found& a, const Found& b) { return Better(a, b); };
    kept_.push_back(found);
    std::push_heap(kept_.begin(), kept_.end(), worstFirst);
    if (kept_.size() > count_) {
      std::pop_heap(kept_.begin(), kept_.end(), worstFirst);
      kept_.pop_back();
    }
  }
  const std::vector<Found>& Kept() const { return kept_; }

 private:
  std::size_t count_;
  bool largest_;
  std::vector<Found> kept_;  // a heap with the worst kept at the front
};

struct Grid {
  int Vars = 1;
  std::array<std::vector<double>, 4> Coords;
  std::array<std::size_t, 4> Extents{1, 1, 1, 1};
  std::array<std::size_t, 4> Strides{1, 1, 1, 1};
  int SlabVar = 0;  // the last variable with more than one coordinate (0 when none has)
};

Grid MakeGrid(const ProblemModel& model, const Box& box) {
  Grid grid;
  grid.Vars = VariableCount(model);
  double points = 1.0;
  for (int k = 0; k < grid.Vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    points *=
        static_cast<double>(ScanCount(VariableGeometry(model, k), box.Lower[s], box.Upper[s]));
  }
  if (points > static_cast<double>(MaxScanPoints)) {
    throw AnalysisError("The search would scan " + TextForm(points) +
                        " points, more than it can: use a smaller box or fewer terms.");
  }
  for (int k = 0; k < grid.Vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    grid.Coords[s] = ScanCoordinates(VariableGeometry(model, k), box.Lower[s], box.Upper[s]);
    grid.Extents[s] = grid.Coords[s].size();
    if (grid.Extents[s] > 1) grid.SlabVar = k;
  }
  for (std::size_t s = 1; s < 4; ++s) grid.Strides[s] = grid.Strides[s - 1] * grid.Extents[s - 1];
  return grid;
}

// Whether no neighbour along an axis is larger (maximum) or smaller (minimum) than the
// value at canonical index `at`; `values` holds the slab whose first slice is `firstSlice`.
void ClassifyPoint(const Grid& grid, const std::vector<double>& values, std::size_t firstSlice,
                   std::size_t at, std::size_t slabLength, bool& isMax, bool& isMin) {
  const std::size_t local = at - firstSlice * grid.Strides[static_cast<std::size_t>(grid.SlabVar)];
  const double v = values[local];
  isMax = true;
  isMin = true;
  for (int k = 0; k <= grid.SlabVar && (isMax || isMin); ++k) {
    const auto s = static_cast<std::size_t>(k);
    const std::size_t index = at / grid.Strides[s] % grid.Extents[s];
    const std::size_t lowest = k == grid.SlabVar ? firstSlice : 0;
    const std::size_t highest = k == grid.SlabVar ? firstSlice + slabLength : grid.Extents[s];
    for (const bool up : {false, true}) {
      if (up ? index + 1 >= highest : index <= lowest) continue;
      const double neighbour = values[up ? local + grid.Strides[s] : local - grid.Strides[s]];
      isMax = isMax && !(neighbour > v);
      isMin = isMin && !(neighbour < v);
    }
  }
}

// The terms of variable k at each of the coordinates, a row each.
WeightRows TermRows(const ProblemModel& model, int k, const std::vector<double>& coords) {
  const NodeGeometry g = VariableGeometry(model, k);
  WeightRows rows;
  rows.Rows = coords.size();
  for (const double x : coords) {
    const std::vector<double> row = TermValues(g, x);
    rows.Values.insert(rows.Values.end(), row.begin(), row.end());
  }
  return rows;
}

ScanPoint PointAt(const Grid& grid, const Found& found) {
  ScanPoint point{found.Value, {}};
  for (int k = 0; k < grid.Vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    point.Point.push_back(grid.Coords[s][found.Index / grid.Strides[s] % grid.Extents[s]]);
  }
  return point;
}

std::vector<ScanPoint> Merged(const Grid& grid, const std::vector<Keeper>& keepers,
                              std::size_t count, bool largest) {
  Keeper all(count, largest);
  for (const Keeper& keeper : keepers) {
    for (const Found& found : keeper.Kept()) all.Offer(found);
  }
  std::vector<Found> kept = all.Kept();
  std::sort(kept.begin(), kept.end(),
            [&](const Found& a, const Found& b) { return all.Better(a, b); });
  std::vector<ScanPoint> points;
  for (const Found& found : kept) points.push_back(PointAt(grid, found));
  return points;
}

}  // namespace

ScanResult ScanForExtremes(const ProblemModel& model, const Box& box, std::size_t count) {
  const Grid grid = MakeGrid(model, box);
  const auto slab = static_cast<std::size_t>(grid.SlabVar);
  const std::size_t slice = grid.Strides[slab];
  const std::size_t slicesPerChunk = std::max<std::size_t>(1, kSlabPoints / slice);
  const std::size_t chunks = (grid.Extents[slab] + slicesPerChunk - 1) / slicesPerChunk;
  const std::size_t workers = WorkerCount(chunks);
  std::vector<Keeper> maxima(workers, Keeper(count, true));
  std::vector<Keeper> minima(workers, Keeper(count, false));
  std::vector<ModeProductScratch> scratch(workers);
  std::array<WeightRows, MaxVars> terms;
  for (int k = 0; k < grid.Vars; ++k)
    terms[static_cast<std::size_t>(k)] =
        TermRows(model, k, grid.Coords[static_cast<std::size_t>(k)]);

  ParallelFor(chunks, workers, [&](std::size_t worker, std::size_t chunk) {
    const std::size_t first = chunk * slicesPerChunk;
    const std::size_t last = std::min(first + slicesPerChunk, grid.Extents[slab]);
    // One slice either side, for the neighbours of the chunk's own first and last slice.
    const std::size_t from = first > 0 ? first - 1 : 0;
    const std::size_t to = std::min(last + 1, grid.Extents[slab]);
    std::array<WeightRows, MaxVars> chunkTerms = terms;
    const std::size_t width = static_cast<std::size_t>(model.LastTerm[slab]) + 1;
    chunkTerms[slab].Rows = to - from;
    chunkTerms[slab].Values.assign(
        terms[slab].Values.begin() + static_cast<std::ptrdiff_t>(from * width),
        terms[slab].Values.begin() + static_cast<std::ptrdiff_t>(to * width));
    const std::vector<double>& values = CoefficientModeProducts(model, chunkTerms, scratch[worker]);
    for (std::size_t at = first * slice; at < last * slice; ++at) {
      const double v = values[at - from * slice];
      if (std::isnan(v)) continue;
      const bool maxWanted = maxima[worker].Wants(v, at);
      const bool minWanted = minima[worker].Wants(v, at);
      if (!maxWanted && !minWanted) continue;
      bool isMax = false;
      bool isMin = false;
      ClassifyPoint(grid, values, from, at, to - from, isMax, isMin);
      if (isMax && maxWanted) maxima[worker].Offer({v, at});
      if (isMin && minWanted) minima[worker].Offer({v, at});
    }
  });

  ScanResult result;
  result.Points = static_cast<int64_t>(grid.Strides[slab] * grid.Extents[slab]);
  result.Maxima = Merged(grid, maxima, count, true);
  result.Minima = Merged(grid, minima, count, false);
  return result;
}

}  // namespace quon
