// The accuracy check in words: the one-line summary beside the coefficient list, the
// conditioning warnings, and the "key: value" figures of quonfit --check. Numbers in the
// summary and the warnings are rounded to three significant digits; the key lines use the
// program's text form, so that scripts read back the full value.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/eval/accuracy_check.h"
#include "core/fit/basis_condition.h"

namespace quon {

// value rounded to `digits` significant digits, "." as decimal separator, exponent form
// ("1.23E-14") for magnitudes below 1E-04 or from 1E+06.
std::string ShortForm(double value, int digits = 3);

// E.g. "Between the nodes (2401 points): largest difference 1.2E-14 (relative 3.1E-16) at
// x=0.5, y=-4.5; RMS 2.3E-15." with ", 3 points failed" when some did, and for a
// Chebyshev fit "; estimated from the coefficients 4.4E-15" before the full stop.
std::string AccuracySummaryLine(const AccuracyResult& result);

// E.g. "x: the 25 power terms are ill-conditioned (condition number about 3.2E+12), so
// their coefficients may be far off. Use fewer terms or trigonometric terms."
std::string ConditionWarningText(const ConditionWarning& warning);

// E.g. "x: the 12 Chebyshev terms have not converged (their coefficients do not decay yet);
// more terms are needed."
std::string ConvergenceWarningText(const std::string& name, int32_t terms);

// The warnings of a check: one per ill-conditioned variable, then one per Chebyshev
// variable whose series has not converged.
std::vector<std::string> AccuracyWarnings(const AccuracyResult& result);

// max_abs_diff, max_rel_diff, rms_diff, worst_point, check_points, failed_points, for a
// Chebyshev fit estimated_error, then one "warning" per conditioning warning and per
// Chebyshev variable that has not converged: each key with its value's text.
std::vector<std::pair<std::string, std::string>> AccuracyKeyValues(const AccuracyResult& result);

}  // namespace quon
