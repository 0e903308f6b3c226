// The first half of the search for the extremes: the approximation on a grid fine enough
// that no extreme of it can hide between the grid's points, and the grid's own local
// maxima and minima as the starting points of the refinement. Each variable's coordinates
// come from its kind of terms (term_scales.h: at least two points between neighbouring
// extremes of any combination of its terms); the values come from mode products
// (mode_products.h), slab by slab along the last variable so that memory stays
// bounded, the slabs shared out over the threads (parallel_for.h). A grid point is a local
// maximum when no neighbour along any axis is larger; the box's faces and corners are grid
// points too, so an extreme on the boundary is found like one inside.
// Cost: about 2 N S multiply-adds for N coefficients and S grid points per coefficient
// line, O(1) per point for the selection. Memory: a few million values per thread.
// Fails with AnalysisError when the grid would exceed MaxScanPoints.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/analysis/analysis_checks.h"
#include "core/model/problem_model.h"

namespace quon {

// The largest grid scanned: about ten seconds of one core.
inline constexpr int64_t MaxScanPoints = int64_t{1} << 28;

struct ScanPoint {
  double Value = 0.0;
  std::vector<double> Point;  // one coordinate per variable in use
};

struct ScanResult {
  int64_t Points = 0;
  std::vector<ScanPoint> Maxima;  // the grid's local maxima, largest first
  std::vector<ScanPoint> Minima;  // its local minima, smallest first
};

// Grid points computed at once per thread: a few tens of megabytes.
inline constexpr std::size_t DefaultScanBlockPoints = std::size_t{1} << 22;

// The scan of `box` (checked by CheckBox) keeping at most `count` maxima and minima; each
// thread computes its run of slices about `blockPoints` points at a time (the result does
// not depend on it).
ScanResult ScanForExtremes(const ProblemModel& model, const Box& box, std::size_t count,
                           std::size_t blockPoints = DefaultScanBlockPoints);

}  // namespace quon
