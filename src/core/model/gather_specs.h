// Gathering: the step of a Compute that copies the entry fields into the problem model
// (function text, and per variable its limits, number of terms, centre, period and kind),
// checks that each variable's nodes can be computed, and allocates a fresh, zero Coef
// shaped by the term counts. Texts become numbers by LeadingNumber; the number of terms minus 1 is
// rounded half to even. The user constants are sent to the engine by the caller, before.
//
// ReadVariableFields is the one reading of a variable's fields: gathering commits it to the
// model, and saving compares it with the model to decide whether the results still belong
// to the fields.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

namespace quon {

// A specification that cannot be fitted. what() is a message for the user that names the
// variable concerned.
// The most terms one variable may have. The elimination along a variable costs the cube
// of its terms (4000 terms took 15 to 20 s with no way to stop it), and equally spaced
// power terms lose all accuracy long before: from about 60 terms the condition warning
// says so. 2048 terms take a few seconds.
inline constexpr int32_t MostTermsPerVariable = 2048;

class GatherError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One variable's entry fields read as numbers, before any check.
struct VariableReading {
  double LowerLimit = 0.0;
  double UpperLimit = 0.0;
  double Center = 0.0;              // "*" reads as the middle of the interval
  double Period = 0.0;              // "*" reads as 2 pi
  double TermsMinusOne = 0.0;       // the typed number of terms minus 1, not rounded
  std::optional<int32_t> LastTerm;  // TermsMinusOne rounded half to even; none beyond 32 bits
  TermKind Kind = TermKind::Power;
};

// `pi` is the model's pi, which "*" as the period doubles. Never fails.
VariableReading ReadVariableFields(const VariableFields& fields, double pi);

// Reads fields.Equation and fields.Variables[0..LastVar] into the model. Slots above
// LastVar are left as they are. Refuses with a GatherError, before anything is allocated
// and with the model's specification unchanged, a variable with fewer than 2 terms, a
// number of terms beyond 32 bits, limits whose centre, node step or node start are not
// finite (node_geometry.h), and a grid or basis matrix too large to allocate. HaveResults is false
// on return either way; the old Coef is given up at the start, so after a refusal Coef is empty.
void GatherSpecs(ProblemModel& model, const EntryFields& fields);

}  // namespace quon
