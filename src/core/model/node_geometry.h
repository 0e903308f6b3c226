// Where a variable's nodes lie and how a coordinate becomes the argument of its terms: the
// one home of the node positions, the node step and the angle step, computed from the
// variable's specification in the model and so never stale (after Open as after Compute).
//
// Node j lies at j h + a (h = (b - a) / T, the coordinate the function is sampled at);
// the fit's basis measures it from the centre as (j h + (a - c)) w, with w = 8 atan(1) / P
// for trigonometric terms and exactly 1 for powers. The evaluator turns a coordinate x into
// the angle step atan(1) (x - c) 8 / P instead. The two roundings of 2 pi (x - c) / P are
// those the fit and the evaluator have always used; every listing and stored coefficient
// was computed with them, so both are kept, each under its own name.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/model/problem_model.h"
#include "core/model/term_kind.h"

namespace quon {

struct NodeGeometry {
  TermKind Kind = TermKind::Power;
  int32_t LastTerm = 0;  // nodes and terms: LastTerm + 1
  double LowerLimit = 0.0;
  double UpperLimit = 0.0;
  double Center = 0.0;
  double Period = 0.0;
  double NodeStep = 0.0;   // (UpperLimit - LowerLimit) / LastTerm; 0 with a single term
  double NodeStart = 0.0;  // LowerLimit - Center
  double Omega = 1.0;      // 8 atan(1) / Period for trigonometric terms, 1 for powers

  // The coordinate of node j: j h + a, in that order of operations.
  double Node(int32_t j) const { return static_cast<double>(j) * NodeStep + LowerLimit; }
  // The fit's argument of node j: (j h + (a - c)) w.
  double NodeArgument(int32_t j) const {
    return (static_cast<double>(j) * NodeStep + NodeStart) * Omega;
  }
  // The evaluator's angle step of coordinate x: atan(1) (x - c) 8 / P. Infinite or NaN
  // for a period of 0 or an angle too large, which the callers refuse.
  double AngleStep(double x) const { return std::atan(1.0) * (x - Center) * 8.0 / Period; }
  // 2 pi / P as atan(1) 8 / P: the factor that derivatives and integrals of the
  // trigonometric terms bring out.
  double AngularFactor() const { return std::atan(1.0) * 8.0 / Period; }
};

// The geometry of variable k from the model's specification of it.
NodeGeometry VariableGeometry(const ProblemModel& model, int k);

// The same from the parts of a specification, before it is in a model.
NodeGeometry MakeGeometry(TermKind kind, int32_t lastTerm, double lowerLimit, double upperLimit,
                          double center, double period);

}  // namespace quon
