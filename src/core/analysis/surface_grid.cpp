#include "core/analysis/surface_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/eval/grid_approximation.h"
#include "core/model/node_geometry.h"

namespace quon {
namespace {

std::vector<double> Samples(double lower, double upper, int32_t count) {
  std::vector<double> samples;
  for (int32_t i = 0; i < count; ++i) {
    // The last sample is the upper limit itself, not a rounding of it.
    samples.push_back(
        i + 1 == count ? upper : lower + (upper - lower) * static_cast<double>(i) / (count - 1));
  }
  return samples;
}

// The approximation at every (x, y) of the two lists, the others held, row i at ys[i].
std::vector<double> ApproximationRows(const ProblemModel& model, int varX, int varY,
                                      std::span<const double> held, const std::vector<double>& xs,
                                      const std::vector<double>& ys) {
  std::array<std::vector<double>, 4> coords;
  for (std::size_t k = 0; k < held.size(); ++k) coords[k] = {held[k]};
  coords[static_cast<std::size_t>(varX)] = xs;
  coords[static_cast<std::size_t>(varY)] = ys;
  std::vector<double> values = ApproximationOnGrid(model, coords);
  // The grid's canonical order has the lower variable fastest; rows run along X.
  if (varX > varY) {
    std::vector<double> rows(values.size());
    for (std::size_t i = 0; i < ys.size(); ++i) {
      for (std::size_t j = 0; j < xs.size(); ++j)
        rows[i * xs.size() + j] = values[j * ys.size() + i];
    }
    values.swap(rows);
  }
  return values;
}

}  // namespace

int32_t SurfaceSampleCount(const ProblemModel& model, int varX, int varY) {
  const int32_t terms = std::max(model.LastTerm[static_cast<std::size_t>(varX)],
                                 model.LastTerm[static_cast<std::size_t>(varY)]) +
                        1;
  return std::clamp<int32_t>(4 * terms + 1, MinSurfaceSamples, MaxSurfaceSamples);
}

SurfaceGrid SampleSurface(const ProblemModel& model, PointFunctionSource& function, int varX,
                          int varY, std::span<const double> held) {
  const int vars = VariableCount(model);
  if (!model.HaveResults || vars < 2) {
    throw std::logic_error("A surface needs results and two variables.");
  }
  if (varX < 0 || varY < 0 || varX >= vars || varY >= vars || varX == varY) {
    throw std::invalid_argument("A surface needs two different variables.");
  }
  if (held.size() != static_cast<std::size_t>(vars)) {
    throw std::invalid_argument("The point needs one coordinate per variable.");
  }
  SurfaceGrid grid;
  grid.VarX = varX;
  grid.VarY = varY;
  grid.Held.assign(held.begin(), held.end());
  const Box box = ProblemBox(model);
  const auto sx = static_cast<std::size_t>(varX);
  const auto sy = static_cast<std::size_t>(varY);
  const int32_t samples = SurfaceSampleCount(model, varX, varY);
  grid.X = Samples(box.Lower[sx], box.Upper[sx], samples);
  grid.Y = Samples(box.Lower[sy], box.Upper[sy], samples);
  grid.Approximation = ApproximationRows(model, varX, varY, held, grid.X, grid.Y);

  std::vector<double> points;
  std::vector<double> point = grid.Held;
  for (const double y : grid.Y) {
    for (const double x : grid.X) {
      point[sx] = x;
      point[sy] = y;
      points.insert(points.end(), point.begin(), point.end());
    }
  }
  std::vector<int32_t> errors;
  EvaluateAtPoints(function, vars, points, grid.Function, errors);
  for (std::size_t i = 0; i < grid.Function.size(); ++i) {
    if (errors[i] != 0) grid.Function[i] = std::numeric_limits<double>::quiet_NaN();
    grid.Difference.push_back(grid.Function[i] - grid.Approximation[i]);
  }

  std::vector<double> nodesX, nodesY;
  const NodeGeometry gx = VariableGeometry(model, varX);
  const NodeGeometry gy = VariableGeometry(model, varY);
  for (int32_t j = 0; j <= gx.LastTerm; ++j) nodesX.push_back(gx.Node(j));
  for (int32_t j = 0; j <= gy.LastTerm; ++j) nodesY.push_back(gy.Node(j));
  const std::vector<double> atNodes = ApproximationRows(model, varX, varY, held, nodesX, nodesY);
  for (std::size_t i = 0; i < nodesY.size(); ++i) {
    for (std::size_t j = 0; j < nodesX.size(); ++j) {
      grid.Nodes.push_back({nodesX[j], nodesY[i], atNodes[i * nodesX.size() + j]});
    }
  }

  Box slice = box;
  for (int k = 0; k < vars; ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (k != varX && k != varY) slice.Lower[s] = slice.Upper[s] = held[s];
  }
  try {
    grid.SliceExtremes = FindExtremes(model, slice);
  } catch (const std::exception& e) {
    grid.ExtremesFailure = e.what();
  }
  return grid;
}

const std::vector<double>& SurfaceValues(const SurfaceGrid& grid, SurfaceQuantity quantity) {
  switch (quantity) {
    case SurfaceQuantity::Function:
      return grid.Function;
    case SurfaceQuantity::Approximation:
      return grid.Approximation;
    case SurfaceQuantity::Difference:
      return grid.Difference;
  }
  return grid.Approximation;
}

}  // namespace quon
