// Moving a file to another name, the one step of saving that replaces what the user had.
// Saving takes it as a parameter so that a test can make a chosen move fail.
#pragma once

#include <functional>
#include <string>

namespace quon {

// Moves `from` to `to`, replacing a file at `to`. Returns 0, or the errno value of the
// failure.
using RenameFile = std::function<int(const std::string& from, const std::string& to)>;

// std::rename.
int RenameWithTheSystem(const std::string& from, const std::string& to);

}  // namespace quon
