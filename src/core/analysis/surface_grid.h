// What the plot window's surface view shows: the function, the approximation and their
// difference over two variables, the others held at a point, on a grid across both
// intervals; the nodes of the two variables with the approximation there; and the
// largest and smallest value of the approximation on that slice with where they lie (the
// global search of extrema.h on the box whose other variables are held).
// Cost: one function evaluation per grid point (through the source, on threads when it
// allows), the approximation by mode products, and one search for the extremes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/analysis/extrema.h"
#include "core/eval/point_function.h"
#include "core/model/problem_model.h"

namespace quon {

enum class SurfaceQuantity { Function, Approximation, Difference };

inline constexpr int32_t MinSurfaceSamples = 41;
inline constexpr int32_t MaxSurfaceSamples = 161;

struct SurfaceMark {
  double X = 0.0;
  double Y = 0.0;
  double Value = 0.0;
};

struct SurfaceGrid {
  int VarX = 0;
  int VarY = 1;
  std::vector<double> Held;  // the point, one coordinate per variable in use
  std::vector<double> X;     // samples across VarX's interval, ascending, ends included
  std::vector<double> Y;
  // Row i holds the values at Y[i], column j those at X[j]: entry i * X.size() + j. A value
  // that cannot be computed is NaN, and so is the difference there.
  std::vector<double> Function;
  std::vector<double> Approximation;
  std::vector<double> Difference;         // function minus approximation
  std::vector<SurfaceMark> Nodes;         // every node of VarX and VarY, the approximation there
  std::optional<Extremes> SliceExtremes;  // none when the search failed
  std::string ExtremesFailure;            // then why
};

// Samples per side for the two variables: four per term of the one with more terms,
// within MinSurfaceSamples..MaxSurfaceSamples.
int32_t SurfaceSampleCount(const ProblemModel& model, int varX, int varY);

// The surface over VarX and VarY with the others at `held`. Needs a model with results and
// at least two variables (std::logic_error otherwise); std::invalid_argument for a bad
// variable or point.
SurfaceGrid SampleSurface(const ProblemModel& model, PointFunctionSource& function, int varX,
                          int varY, std::span<const double> held);

// The values of `quantity`, in the grid's order.
const std::vector<double>& SurfaceValues(const SurfaceGrid& grid, SurfaceQuantity quantity);

}  // namespace quon
