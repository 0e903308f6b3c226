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
// x=0.5, y=-4.5; RMS 2.3E-15." with ", 3 points failed" when some did.
std::string AccuracySummaryLine(const AccuracyResult& result);

// E.g. "x: the 25 power terms are ill-conditioned (condition number about 3.2E+12), so
// their coefficients may be far off. Use fewer terms or trigonometric terms."
std::string ConditionWarningText(const ConditionWarning& warning);

// max_abs_diff, max_rel_diff, rms_diff, worst_point, check_points, failed_points, then
// one "warning" per conditioning warning: each key with its value's text.
std::vector<std::pair<std::string, std::string>> AccuracyKeyValues(const AccuracyResult& result);

}  // namespace quon
