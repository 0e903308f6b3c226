// The user's named constants ("a=2.37"): kept in the model in the order they were added,
// checked by name only, and sent to the script engine before every evaluation run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

class ScriptEnvironment;

enum class AddOutcome {
  Added,     // appended at the end (a redefinition first removed the old entry)
  NoEquals,  // the text has no "=": nothing happens
  BadName,   // the name before "=" is not a letter followed by letters and digits
  Full,      // all slots are taken: refused with a message
};

struct AddResult {
  AddOutcome Outcome = AddOutcome::NoEquals;
  int RemovedIndex = -1;  // list index of the entry a redefinition removed, or -1
};

// Adds the constant definition text to the model's Constants and ConstCount.
AddResult AddConstant(ProblemModel& model, std::string_view text);

// The message shown when an add is refused because every slot is taken.
std::string ConstantsFullMessage();

// Removes entry `index` of the model's Constants and returns the statement that resets the
// engine's variable of that name: the entry up to and including its first "=", then "0".
// An index outside 0..ConstCount-1 changes nothing and returns an empty text, and so does
// an entry without "=" (only a hand-written file holds one) once it is removed.
std::string RemoveConstant(ProblemModel& model, int index);

// Sends every item, first to last, to the engine as a statement. Stops at the first
// failing statement by passing its ScriptFailure on.
void SetConstants(const std::vector<std::string>& items, ScriptEnvironment& engine);

}  // namespace quon
