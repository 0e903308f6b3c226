// The lines of the printed report: the function, the user constants, one block per
// variable with its captions right-aligned on column 20, and, when a fit exists, the
// coefficient section (after a fit on data, its table and diagnostics too). Numbers are printed in
// the print form followed by one blank
// ("           INTERVAL: [-1 , 1 ]"). The printer (or quonfit) only puts the lines out.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/problem_model.h"

namespace quon {

// Hands every line of the report, first to last, to lineSink. The model gives the variables
// and the coefficients as the last fit or Open left them; equation and constantItems are
// the function and the constants as the window shows them now. The constants section is
// printed when the model holds constants (ConstCount is not 0).
void ReportLines(const ProblemModel& model, std::string_view equation,
                 const std::vector<std::string>& constantItems,
                 const std::function<void(const std::string&)>& lineSink);

}  // namespace quon
