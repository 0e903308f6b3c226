// How a name typed outside the problem (a column of a points file, a variable named on
// the command line) is matched with the variables' names: blanks around either are
// ignored, and letters match in either case, as the expression language reads names.
#pragma once

#include <string>
#include <string_view>

namespace quon {

std::string_view TrimBlanks(std::string_view text);

bool SameVariableName(std::string_view a, std::string_view b);

}  // namespace quon
