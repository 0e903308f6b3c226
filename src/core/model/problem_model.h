// The problem model: the number and names of the variables, each variable's specification,
// the function text, the user constants, the fitted coefficients and the point of
// evaluation. One instance is owned by the application and handed by reference to
// whatever reads or writes it; the field names are the ones every part of the program uses.
//
// Scratch values of single procedures (loop counters, the basis matrix, partial sums of
// the evaluator, the label being built) are locals of those procedures, not fields here.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/coef_array.h"

namespace quon {

inline constexpr int MaxVars = 4;
inline constexpr int MaxConstants = 101;

template <typename T>
using PerVariable = std::array<T, MaxVars>;

struct ProblemModel {
  // Problem size and navigation.
  int32_t LastVar = 0;  // number of variables minus 1
  int32_t CurVar = 1;   // variable on show in the editor, counted from 1

  // Per-variable specification. VarName holds four empty slots until the names are
  // accepted; then exactly the LastVar + 1 names as split from the list (a file keeps 4).
  std::vector<std::string> VarName = std::vector<std::string>(MaxVars);
  PerVariable<bool> IsPower{};
  PerVariable<bool> IsTrig{};
  PerVariable<int32_t> LastTerm{};  // number of terms minus 1; 0 above LastVar
  PerVariable<double> LowerLimit{};
  PerVariable<double> UpperLimit{};
  PerVariable<double> Center{};
  PerVariable<double> Period{};

  // Derived by gathering.
  PerVariable<double> NodeStep{};   // (UpperLimit - LowerLimit) / LastTerm
  PerVariable<double> NodeStart{};  // LowerLimit - Center

  // Function and user constants.
  std::string Equation;
  std::array<std::string, MaxConstants> Constants{};
  int32_t ConstCount = 0;

  // Results.
  CoefArray Coef;
  bool HaveResults = false;

  // Evaluation at a point.
  PerVariable<double> EvalPoint{};
  PerVariable<double> EvalOffset{};
  PerVariable<double> EvalAngle{};
  double ApproxValue = 0.0;

  // Files and environment.
  std::string SpecFile;
  std::string StartDir;
  double Pi = 4.0 * std::atan(1.0);
  bool Loading = false;

  // Clears every per-variable field (names included) to zero, empty or false, as when
  // the number of variables is accepted or a file is opened.
  void AllocatePerVariableArrays();
};

// The spacing of variable k's nodes, (UpperLimit - LowerLimit) / LastTerm, computed as
// gathering computes NodeStep. Opening a file does not derive NodeStep, so whatever runs on
// opened results takes the spacing from here.
double NodeSpacing(const ProblemModel& model, int k);

}  // namespace quon
