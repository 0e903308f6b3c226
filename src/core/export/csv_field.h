// One field of a CSV table as other programs read it: as it is, or enclosed in double
// quotes (with each quote doubled) when it holds a comma, a quote, a line break or blanks
// at either end.
#pragma once

#include <string>
#include <string_view>

namespace quon {

std::string CsvField(std::string_view text);

}  // namespace quon
