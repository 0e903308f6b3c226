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

// The values of the slices of one worker's share as they are computed, block by block
// along the slab variable: the current block, and the last two slices of the block before
// it, which the slices at the seam need as neighbours.
class SliceWindow {
 public:
  explicit SliceWindow(std::size_t slice) : slice_(slice) {}

  // Keeps the last two slices of the current block, whose array the next block will reuse.
  void KeepTail() {
    if (block_ == nullptr) return;
    const std::size_t keep = std::min<std::size_t>(2, upto_ - from_);  // 2 but at a run's end
    keptFrom_ = upto_ - keep;
    kept_.assign(block_->end() - static_cast<std::ptrdiff_t>(keep * slice_), block_->end());
  }
  void Show(const std::vector<double>& block, std::size_t from, std::size_t upto) {
    block_ = &block;
    from_ = from;
    upto_ = upto;
  }
  // Slice j's values; j is in the block or one of the two slices before it.
  const double* Slice(std::size_t j) const {
    if (j >= from_) return block_->data() + (j - from_) * slice_;
    return kept_.data() + (j - keptFrom_) * slice_;
  }

 private:
  std::size_t slice_;
  const std::vector<double>* block_ = nullptr;
  std::size_t from_ = 0;
  std::size_t upto_ = 0;
  std::vector<double> kept_;
  std::size_t keptFrom_ = 0;
};

// Whether no neighbour along an axis is larger (maximum) or smaller (minimum) than the
// value at position q of slice j.
void ClassifyPoint(const Grid& grid, const SliceWindow& window, std::size_t j, std::size_t q,
                   bool& isMax, bool& isMin) {
  const double* here = window.Slice(j);
  const double v = here[q];
  isMax = true;
  isMin = true;
  const auto compare = [&](double neighbour) {
    isMax = isMax && !(neighbour > v);
    isMin = isMin && !(neighbour < v);
  };
  for (int k = 0; k < grid.SlabVar && (isMax || isMin); ++k) {
    const auto s = static_cast<std::size_t>(k);
    const std::size_t index = q / grid.Strides[s] % grid.Extents[s];
    if (index > 0) compare(here[q - grid.Strides[s]]);
    if (index + 1 < grid.Extents[s]) compare(here[q + grid.Strides[s]]);
  }
  if (j > 0) compare(window.Slice(j - 1)[q]);
  if (j + 1 < grid.Extents[static_cast<std::size_t>(grid.SlabVar)]) compare(window.Slice(j + 1)[q]);
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

ScanResult ScanForExtremes(const ProblemModel& model, const Box& box, std::size_t count,
                           std::size_t blockPoints) {
  const Grid grid = MakeGrid(model, box);
  const auto slab = static_cast<std::size_t>(grid.SlabVar);
  const std::size_t slice = grid.Strides[slab];
  const std::size_t extent = grid.Extents[slab];
  // Two slices at least, so that the two a seam needs are always in the block before it.
  const std::size_t block = std::max<std::size_t>(2, blockPoints / slice);
  const std::size_t workers = WorkerCount((extent + block - 1) / block);
  std::vector<Keeper> maxima(workers, Keeper(count, true));
  std::vector<Keeper> minima(workers, Keeper(count, false));
  std::array<WeightRows, MaxVars> terms;
  for (int k = 0; k < grid.Vars; ++k) {
    terms[static_cast<std::size_t>(k)] =
        TermRows(model, k, grid.Coords[static_cast<std::size_t>(k)]);
  }
  const std::size_t width = static_cast<std::size_t>(model.LastTerm[slab]) + 1;

  // Each worker takes one run of slices and computes it block by block in order, so that
  // only the slice on either side of its run is computed twice.
  ParallelFor(workers, workers, [&](std::size_t worker, std::size_t share) {
    const std::size_t first = extent * share / workers;
    const std::size_t last = extent * (share + 1) / workers;
    if (first == last) return;
    ModeProductScratch scratch;
    SliceWindow window(slice);
    std::array<WeightRows, MaxVars> blockTerms = terms;
    std::size_t next = first;  // the first slice of the run not yet classified
    for (std::size_t from = first > 0 ? first - 1 : 0; from < std::min(last + 1, extent);) {
      const std::size_t upto = std::min({from + block, last + 1, extent});
      blockTerms[slab].Rows = upto - from;
      blockTerms[slab].Values.assign(
          terms[slab].Values.begin() + static_cast<std::ptrdiff_t>(from * width),
          terms[slab].Values.begin() + static_cast<std::ptrdiff_t>(upto * width));
      window.KeepTail();
      window.Show(CoefficientModeProducts(model, blockTerms, scratch), from, upto);
      // A slice is classified once the slice after it is known.
      for (; next < last && (next + 1 < upto || next + 1 == extent); ++next) {
        const double* values = window.Slice(next);
        for (std::size_t q = 0; q < slice; ++q) {
          const double v = values[q];
          const std::size_t at = next * slice + q;
          if (std::isnan(v)) continue;
          const bool maxWanted = maxima[worker].Wants(v, at);
          const bool minWanted = minima[worker].Wants(v, at);
          if (!maxWanted && !minWanted) continue;
          bool isMax = false;
          bool isMin = false;
          ClassifyPoint(grid, window, next, q, isMax, isMin);
          if (isMax && maxWanted) maxima[worker].Offer({v, at});
          if (isMin && minWanted) minima[worker].Offer({v, at});
        }
      }
      from = upto;
    }
  });

  ScanResult result;
  result.Points = static_cast<int64_t>(slice * extent);
  result.Maxima = Merged(grid, maxima, count, true);
  result.Minima = Merged(grid, minima, count, false);
  return result;
}

}  // namespace quon
