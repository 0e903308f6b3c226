// The list of a window that picks one of the problem's variables.
#pragma once

#include <QComboBox>

#include "core/model/problem_model.h"

namespace quon {

// Fills `list` with the names of the variables in use, without signalling the change; the
// index chosen before stays chosen where it still exists, else the first variable is.
void ShowVariableNames(QComboBox& list, const ProblemModel& model);

}  // namespace quon
