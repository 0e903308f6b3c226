// Whether a path names one of the two files of a problem pair, as the file system
// sees it: another spelling of the same path, a link to it or a second hard link all count,
// so that no command can write over the pair by a name that merely looks different.
#pragma once

#include <string>

namespace quon {

// True when `path` and the main file `pairPath` or its text file (TextFilePath) are the
// same existing file. False when either is missing or cannot be examined: a file that does
// not exist yet holds nothing to lose.
bool IsFileOfPair(const std::string& path, const std::string& pairPath);

}  // namespace quon
