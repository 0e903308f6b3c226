// The fit: samples the user's function at every point of the grid of nodes through the
// script engine, turns the samples into coefficients one variable at a time, and records
// the outcome in HaveResults.
//
// Sampling runs in the canonical order (the first variable's node index fastest). A
// variable is assigned, by a statement such as "x= .5" with its node in the print form,
// only when its own node index changes, and never when it has a single term. One error
// trap covers the whole fit: errors 5, 6, 11 and the engine's already-reported code are
// ridden over (a failed sample keeps its 0, a failed assignment leaves the variable as it
// was); any other number ends the fit quietly, since the engine has already shown its
// message. A singular one-variable system ends the fit too, and so do coefficients that
// are not all finite (a function near the largest double overflows the elimination). Cost: one
// function evaluation per grid point, then the solver's work per variable.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/fit/fit_engine.h"
#include "core/fit/solver.h"
#include "core/model/problem_model.h"

namespace quon {

// The one line the results list shows after a singular system.
inline constexpr const char* SingularMatrixLine = "YIELDS SINGULAR MATRIX.";

enum class FitStatus {
  Success,       // HaveResults is true: Coef holds the coefficients
  Singular,      // the list shows SingularMatrixLine
  EndedByError,  // an error the trap does not ride over ended the fit
  Overflow,      // a coefficient came out infinite or NaN: no results
};

// The message of FitStatus::Overflow.
inline constexpr const char* FitOverflowMessage =
    "The fit overflows: a coefficient is not a finite number. Scale the function down or "
    "use fewer terms.";

struct FitOutcome {
  FitStatus Status = FitStatus::EndedByError;
  int32_t ErrorNumber = 0;  // EndedByError: the number that ended the fit
  std::string Description;  // EndedByError: the engine's description of it; Singular and
                            // Overflow: why, for the user
};

// Whether the fit's trap rides over an error of this number: 5, 6, 11 and -2147352319.
bool FitRidesOver(int32_t number);

// Told after the sampling (done 0) and after each variable's elimination (done k + 1):
// what a caller needs to show progress of a long fit.
using FitProgress = std::function<void(int done, int total)>;

// The second half of the fit: turns the samples in Coef (Coef shaped by LastTerm) into
// coefficients, one variable in use at a time, with each variable's basis and the
// elimination, or the cosine transform for a Chebyshev variable (chebyshev_solve.h).
// Returns the variable whose system is singular (the solve stops there, Coef partly
// transformed), or nothing when every variable was solved. Throws std::bad_alloc, or
// GridTooLarge for a basis too large to allocate.
std::optional<int> SolveSamples(ProblemModel& model, const FitProgress& progress = {});

// Precondition: the entry fields were just gathered (Coef zero-filled with the current
// LastTerm, the constants sent to the engine). Sets
// HaveResults to whether the fit succeeded; never throws.
FitOutcome Compute(ProblemModel& model, FitEngine& engine, const FitProgress& progress = {});

// The floating-point operations of the eliminations of a gathered model: n^3/3 for the
// matrix of each variable with n terms, and n^2 for every line of the grid along it.
double EliminationOperations(const ProblemModel& model);

}  // namespace quon
