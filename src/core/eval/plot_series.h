// The curves of the plot window: the user's function and the approximation along one
// variable across its interval, the other variables held at a point, their difference,
// and the nodes of that variable. The approximation comes from the evaluator's kernel,
// which gives the evaluator's bits, so the curve shows exactly the values the evaluation
// window would; the function comes from
// a PointFunctionSource, so the script engine keeps the values it holds.
//
// Cost: one function evaluation and one evaluation of the approximation (one multiply-add
// per coefficient) per sample; the number of samples shrinks for very large problems so
// that a plot stays around MaxPlotWork multiply-adds.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/eval/point_function.h"
#include "core/model/problem_model.h"

namespace quon {

inline constexpr int32_t MinPlotSamples = 51;
inline constexpr int32_t DefaultPlotSamples = 401;
inline constexpr int32_t MaxPlotSamples = 20001;
inline constexpr double MaxPlotWork = 2e8;

struct PlotSeries {
  int32_t Var = 0;
  std::string Name;
  std::vector<double> Held;  // the point, one coordinate per variable in use

  // The samples, from the lower to the upper limit. A value that cannot be computed (a
  // failing function, an overflowing approximation) is NaN, and so is the difference there.
  std::vector<double> X;
  std::vector<double> Function;
  std::vector<double> Approximation;
  std::vector<double> Difference;  // function minus approximation

  // The nodes of the variable and the approximation there (the fit's samples, up to
  // rounding, when the held coordinates are nodes too).
  std::vector<double> NodeX;
  std::vector<double> NodeValue;
};

// The number of samples for a plot of `var`: DefaultPlotSamples, more for many
// trigonometric or power terms (eight per term), fewer when the coefficients are so many
// that the plot would exceed MaxPlotWork; within MinPlotSamples..MaxPlotSamples.
int32_t PlotSampleCount(const ProblemModel& model, int var);

// The series along variable `var` (0..LastVar) with the others at `held` (one coordinate
// per variable in use; the entry of `var` is ignored). Needs a model with results
// (std::logic_error otherwise); std::invalid_argument for a bad variable or point.
PlotSeries SamplePlot(const ProblemModel& model, PointFunctionSource& function, int var,
                      std::span<const double> held);

// The centres of expansion of the variables in use: the point held when none was typed.
std::vector<double> CentrePoint(const ProblemModel& model);

}  // namespace quon
