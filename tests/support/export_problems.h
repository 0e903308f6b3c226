// Test support: fitted problems shared by the export, calculus and points-file tests, and
// random points inside a problem's box.
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "support/fitted_model.h"

namespace quon::testing {

// The program's first problem: x^2*sin(y)+4*cos(z)-t, four power variables of 10 terms
// on [-5, 5] about 0.
inline ProblemModel DefaultProblem() {
  std::vector<VarSpec> vars;
  for (const char* name : {"x", "y", "z", "t"}) vars.push_back({name, false, 10, -5, 5, 0, 0});
  ProblemModel model =
      FittedModel(vars, Always([](std::span<const double> p) {
                    return p[0] * p[0] * std::sin(p[1]) + 4 * std::cos(p[2]) - p[3];
                  }));
  model.Equation = "x^2*sin(y)+4*cos(z)-t";
  return model;
}

// Two trigonometric variables, off-centre, one with a period other than 2 pi.
inline ProblemModel TrigProblem() {
  ProblemModel model = FittedModel(
      {{"x", true, 9, 0, 6, 1, 2 * M_PI}, {"y", true, 8, 0, 2.5, 0.5, 3}},
      Always([](std::span<const double> p) { return std::exp(std::sin(p[0])) * std::cos(p[1]); }));
  model.Equation = "exp(sin(x))*cos(y)";
  return model;
}

// Power, trigonometric and power, with centres of either sign.
inline ProblemModel MixedProblem() {
  ProblemModel model = FittedModel(
      {{"x", false, 6, -1, 2, 0.5, 0}, {"y", true, 7, 0, 3.5, 0, 4}, {"z", false, 4, 1, 3, -1, 0}},
      Always([](std::span<const double> p) {
        return std::exp(0.3 * p[0]) * std::sin(p[1] * M_PI / 2) + p[2] * p[2];
      }));
  model.Equation = "exp(0.3*x)*sin(y*pi/2)+z^2";
  return model;
}

// Names and a function text that no generated file may trip over: a long trigonometric
// name with a byte that is not UTF-8 and a CR, names of a C macro, of the Fortran intrinsic
// the code calls and of a Python dunder, and a function text whose CRs would end a comment.
inline ProblemModel HostileProblem() {
  ProblemModel model = FittedModel(
      {{"angle_of_attack_in_radians_\xff\r", true, 5, 0, 1, -0.5, 3},
       {"INFINITY", false, 4, -1, 1, 0, 0},
       {"mod", false, 3, 0, 2, 1, 0},
       {"__debug__", false, 3, -1, 0, 0, 0}},
      Always([](std::span<const double> p) { return std::cos(p[0]) + p[1] * p[2] - p[3] * p[3]; }));
  model.Equation = "x+0*Len(\"\"\rprint('INJECTED')\r#\"\")\n*/";
  return model;
}

// Three Chebyshev variables on intervals away from [-1, 1], one of them reversed.
inline ProblemModel ChebyshevProblem() {
  ProblemModel model = FittedModel({{"x", false, 14, -1, 2, 0, 0, true},
                                    {"y", false, 16, 3, 0.5, 0, 0, true},
                                    {"z", false, 4, -4, -1, 0, 0, true}},
                                   Always([](std::span<const double> p) {
                                     return std::exp(0.3 * p[0]) * std::cos(p[1]) + p[2] * p[2] + 5;
                                   }));
  model.Equation = "exp(0.3*x)*cos(y)+z^2+5";
  return model;
}

// `count` points drawn uniformly from the problem's box, coordinates one after the other.
inline std::vector<double> RandomPoints(const ProblemModel& model, int count, unsigned seed = 7) {
  std::mt19937 random(seed);
  std::vector<double> points;
  for (int i = 0; i < count; ++i) {
    for (int k = 0; k <= model.LastVar; ++k) {
      const auto s = static_cast<std::size_t>(k);
      points.push_back(
          std::uniform_real_distribution<double>(model.LowerLimit[s], model.UpperLimit[s])(random));
    }
  }
  return points;
}

}  // namespace quon::testing
