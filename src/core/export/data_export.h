// The fit as data for other programs.
//
// CSV: a header ("<variable>,...,term,coefficient"), then one row per coefficient in the
// listing's order: the term index of each variable, the term's label as the listing
// shows it ("*x^2*sin(y)", empty for the constant term) and the coefficient with 17
// significant digits.
//
// JSON: one object with "function", "constants", "variables" (name, kind "power" or
// "trigonometric", lower, upper, center, period, terms), "coefficients" in the listing's
// order, and "accuracy" (null when the fit was not checked). Numbers are written so that
// they read back as the same doubles.
#pragma once

#include <string>

#include "core/export/export_format.h"

namespace quon {

// Both throw ExportError when the model holds no results.
std::string CsvExport(const ProblemModel& model);
std::string JsonExport(const ProblemModel& model, const ExportInfo& info);

}  // namespace quon
