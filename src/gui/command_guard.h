// The window commands' last line of defence. Qt cannot carry an exception through its
// event loop (one escaping a handler ends the program), so whatever a command lets out --
// memory running out above all, in a fit, an evaluation, a save or a print -- becomes a
// message for the user, and the command simply ends.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace quon {

using MessageSink = std::function<void(const std::string& text)>;

// The message for the command that would `action` ("save the problem") ended by `error`.
std::string CommandFailureMessage(std::string_view action, const std::exception& error);

// Runs `command`; true when it returned. An exception it throws is said through `show` as
// CommandFailureMessage says it; when even that cannot be done, the command ends quietly.
template <typename Command>
bool RunGuarded(std::string_view action, const MessageSink& show, Command&& command) noexcept {
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    try {
      show(CommandFailureMessage(action, error));
    } catch (...) {  // no memory even for the message: nothing more can be done
    }
  }
  return false;
}

}  // namespace quon
