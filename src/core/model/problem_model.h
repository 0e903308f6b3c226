// The problem model: the number and names of the variables, each variable's specification,
// the function text, the user constants, the fitted coefficients and the point of
// evaluation. One instance is owned by the application and handed by reference to
// whatever reads or writes it; the field names are the ones every part of the program uses.
//
// Only the problem lives here. What follows from it is computed where it is needed (the
// node geometry, node_geometry.h); scratch values of single procedures (loop counters, the
// basis matrix, the evaluator's offsets, angles and partial sums, the label being built)
// are their locals; the window's own state (the variable on show) is the window's.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/coef_array.h"
#include "core/model/term_kind.h"

namespace quon {

inline constexpr int MaxVars = 4;
inline constexpr int MaxConstants = 101;

template <typename T>
using PerVariable = std::array<T, MaxVars>;

// Where the coefficients held came from. A Compute (and Open) sets Function; the window,
// the accuracy line and the plot compare with the function text only then.
enum class ResultsOrigin : uint8_t {
  Function,    // the function text sampled at the nodes
  NodeValues,  // values computed elsewhere at the nodes, fitted exactly as samples
  Data,        // least squares on a table of observations
};

// The diagnostics of a least-squares fit on data (datafit/data_fit.h).
struct DataFitSummary {
  std::string Table;       // the table's path
  int64_t Points = 0;      // observations used
  int64_t OutsideBox = 0;  // of them, outside the problem's box
  double ResidualSd = 0.0;
  double RSquared = 0.0;
  double MaxResidual = 0.0;            // largest |residual|
  int64_t WorstRow = 0;                // its row in the table
  double Condition = 0.0;              // of the column-scaled design
  std::vector<double> StandardErrors;  // one per coefficient, in Coef's order
};

struct ProblemModel {
  // Problem size.
  int32_t LastVar = 0;  // number of variables minus 1

  // Per-variable specification. VarName holds four empty slots until the names are
  // accepted; then exactly the LastVar + 1 names as split from the list (a file keeps 4).
  std::vector<std::string> VarName = std::vector<std::string>(MaxVars);
  PerVariable<TermKind> Kind{};
  PerVariable<int32_t> LastTerm{};  // number of terms minus 1; 0 above LastVar
  PerVariable<double> LowerLimit{};
  PerVariable<double> UpperLimit{};
  PerVariable<double> Center{};
  PerVariable<double> Period{};

  // Function and user constants.
  std::string Equation;
  std::array<std::string, MaxConstants> Constants{};
  int32_t ConstCount = 0;

  // Results.
  CoefArray Coef;
  bool HaveResults = false;
  ResultsOrigin Origin = ResultsOrigin::Function;
  DataFitSummary DataFit;  // meaningful when Origin is Data

  // The point last typed in the evaluation window, one coordinate per variable in use.
  PerVariable<double> EvalPoint{};

  // Files and environment.
  std::string SpecFile;
  std::string StartDir;
  double Pi = 4.0 * std::atan(1.0);
  bool Loading = false;

  // Clears every per-variable field (names included) to zero, empty or power terms, as
  // when the number of variables is accepted or a file is opened.
  void AllocatePerVariableArrays();
};

// The number of variables in use, LastVar + 1 (1 to MaxVars).
int VariableCount(const ProblemModel& model);

}  // namespace quon
