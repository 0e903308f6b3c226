#include "gui/command_guard.h"

#include <new>

namespace quon {

std::string CommandFailureMessage(std::string_view action, const std::exception& error) {
  std::string text;
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
    text = "There is not enough memory to ";
    text += action;
    text += ". Close other programs or make the problem smaller, and try again.";
  } else {
    text = "Could not ";
    text += action;
    text += ": ";
    text += error.what();
  }
  return text;
}

}  // namespace quon
