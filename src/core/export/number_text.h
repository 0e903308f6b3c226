// Numbers written for other programs to read back exactly, independent of the locale:
// the shortest text that reads back as the same double, and the fixed form with 17
// significant digits that the source exports use ("-1.2500000000000000e+00").
#pragma once

#include <string>

namespace quon {

std::string RoundTripText(double value);
std::string SeventeenDigits(double value);

}  // namespace quon
