// How two names of variables are matched: blanks around either are ignored, and letters
// match in either case, as the expression language reads names. A column of a points file
// or a variable named on the command line is matched so, and two variables of one problem
// may not match so.
#pragma once

#include <string>
#include <string_view>

namespace quon {

std::string_view TrimBlanks(std::string_view text);

bool SameVariableName(std::string_view a, std::string_view b);

}  // namespace quon
