// Where a variable's nodes lie and how a coordinate becomes the argument of its terms: the
// one home of the node positions, the node step and the angle step, computed from the
// variable's specification in the model and so never stale (after Open as after Compute).
//
// Power and trigonometric terms: node j lies at j h + a (h = (b - a) / T, the coordinate
// the function is sampled at); the fit's basis measures it from the centre as
// (j h + (a - c)) w, with w = 8 atan(1) / P for trigonometric terms and exactly 1 for
// powers. The evaluator turns a coordinate x into the angle step atan(1) (x - c) 8 / P
// instead. The two roundings of 2 pi (x - c) / P are those the fit and the evaluator have
// always used; every listing and stored coefficient was computed with them, so both are
// kept, each under its own name.
//
// Chebyshev terms: the nodes are the Chebyshev points of the second kind (Trefethen,
// "Approximation Theory and Approximation Practice", ch. 2), x_j = m + r cos(j pi / T) with
// m = (a + b) / 2 and r = (b - a) / 2, in that order: node 0 is the upper limit and node T
// the lower one, so the node index runs against the coordinate. The cosine is computed as
// sin(pi (T - 2 j) / (2 T)), which is the same number mathematically but exactly symmetric
// about m and exactly m at the middle node; both limits are given exactly. The grid of
// 2 T + 1 nodes holds the grid of T + 1 (node j there is node 2 j here, bit for bit, as
// both come from the same correctly rounded quotient). A coordinate x becomes the argument
// s = (x - m) / r of the terms T_k(s).
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
  double Middle = 0.0;     // (LowerLimit + UpperLimit) / 2: Chebyshev terms' m
  double HalfWidth = 0.0;  // (UpperLimit - LowerLimit) / 2: Chebyshev terms' r

  // The coordinate of node j: j h + a, in that order of operations, or the Chebyshev
  // point x_j (descending with j).
  double Node(int32_t j) const {
    switch (Kind) {
      case TermKind::Power:
      case TermKind::Trigonometric:
        break;
      case TermKind::Chebyshev:
        return ChebyshevNode(j);
    }
    return static_cast<double>(j) * NodeStep + LowerLimit;
  }
  // The fit's argument of node j: (j h + (a - c)) w, or the Chebyshev point s_j in [-1, 1].
  double NodeArgument(int32_t j) const {
    switch (Kind) {
      case TermKind::Power:
      case TermKind::Trigonometric:
        break;
      case TermKind::Chebyshev:
        return ChebyshevPoint(j, LastTerm);
    }
    return (static_cast<double>(j) * NodeStep + NodeStart) * Omega;
  }
  // The evaluator's angle step of coordinate x: atan(1) (x - c) 8 / P. Infinite or NaN
  // for a period of 0 or an angle too large, which the callers refuse.
  double AngleStep(double x) const { return std::atan(1.0) * (x - Center) * 8.0 / Period; }
  // 2 pi / P as atan(1) 8 / P: the factor that derivatives and integrals of the
  // trigonometric terms bring out.
  double AngularFactor() const { return std::atan(1.0) * 8.0 / Period; }
  // The argument s = (x - m) / r of Chebyshev terms.
  double MappedArgument(double x) const { return (x - Middle) / HalfWidth; }

  // cos(j pi / last) as sin(pi (last - 2 j) / (2 last)); 1 for last 0.
  static double ChebyshevPoint(int32_t j, int32_t last);

 private:
  double ChebyshevNode(int32_t j) const;
};

// The geometry of variable k from the model's specification of it.
NodeGeometry VariableGeometry(const ProblemModel& model, int k);

// The same from a variable's fields, before they are in a model.
NodeGeometry MakeGeometry(TermKind kind, int32_t lastTerm, double lowerLimit, double upperLimit,
                          double center, double period);

}  // namespace quon
