// A text from a file or a field quoted in a message: at most 40 characters, each control
// byte shown as "?", "..." after a cut, so that binary junk can neither make a message of
// megabytes nor cut it short (a NUL) nor reach the terminal raw.
#pragma once

#include <string>
#include <string_view>

namespace quon {

// "\"text\"", shortened and masked as above.
std::string Quoted(std::string_view text);

}  // namespace quon
