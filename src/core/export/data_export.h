// The fit as data for other programs.
//
// CSV: a header ("<variable>,...,term,coefficient"), then one row per coefficient in the
// listing's order: the term index of each variable, the term's label as the listing
// shows it ("*x^2*sin(y)", empty for the constant term; a Chebyshev polynomial with its
// map written out, "*T3((x-0.5)/1.5)") and the coefficient with 17 significant digits.
//
// JSON: one object with "function", "constants", "variables" (name, kind "power",
// "trigonometric" or "Chebyshev", lower, upper, center, period, terms, and for Chebyshev
// terms the map {"middle", "half_width"}), "coefficients" in the listing's order, and "accuracy"
// (null when the fit was not checked). Numbers are written so that they read back as the same
// doubles.
#pragma once

#include <string>

#include "core/export/export_format.h"

namespace quon {

// Both throw ExportError when the model holds no results.
std::string CsvExport(const ProblemModel& model);
std::string JsonExport(const ProblemModel& model, const ExportInfo& info);

}  // namespace quon
