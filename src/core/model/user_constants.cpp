#include "core/model/user_constants.h"

#include <string>

namespace quon {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A name is an ASCII letter followed by ASCII letters and digits; blanks, underscores and
// anything else are refused so that the statement "name=value" can only assign that name.
bool IsConstantName(std::string_view name) {
  if (name.empty() || !IsAsciiLetter(name.front())) return false;
  for (char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) return false;
  }
  return true;
}

// The text before the first "=", or the whole text when there is none.
std::string_view NameOf(std::string_view definition) {
  return definition.substr(0, definition.find('='));
}

void RemoveSlot(ProblemModel& model, int index) {
  for (int i = index; i + 1 < model.ConstCount; ++i) {
    model.Constants[static_cast<std::size_t>(i)] =
        std::move(model.Constants[static_cast<std::size_t>(i + 1)]);
  }
  --model.ConstCount;
  model.Constants[static_cast<std::size_t>(model.ConstCount)].clear();
}

}  // namespace

AddResult AddConstant(ProblemModel& model, std::string_view text) {
  AddResult result;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return result;  // NoEquals
  const std::string_view name = text.substr(0, equals);
  if (!IsConstantName(name)) {
    result.Outcome = AddOutcome::BadName;
    return result;
  }

  // A redefinition (same name, case-sensitive) first removes the old entry, so the
  // constant moves to the end with its new value; only the first match is removed.
  int match = -1;
  for (int i = 0; i < model.ConstCount; ++i) {
    if (NameOf(model.Constants[static_cast<std::size_t>(i)]) == name) {
      match = i;
      break;
    }
  }
  // The capacity check comes after the search: replacing a constant never needs a new slot.
  if (match < 0 && model.ConstCount >= MaxConstants) {
    result.Outcome = AddOutcome::Full;
    return result;
  }
  if (match >= 0) RemoveSlot(model, match);

  model.Constants[static_cast<std::size_t>(model.ConstCount)] = std::string(text);
  ++model.ConstCount;
  result.Outcome = AddOutcome::Added;
  result.RemovedIndex = match;
  return result;
}

std::string ConstantsFullMessage() {
  return "No more constants can be added: all " + std::to_string(MaxConstants) +
         " places are taken. Remove a constant first.";
}

std::string RemoveConstant(ProblemModel& model, int index) {
  if (index < 0 || index >= model.ConstCount) return {};
  const std::string definition = model.Constants[static_cast<std::size_t>(index)];
  RemoveSlot(model, index);
  const std::size_t equals = definition.find('=');
  // An entry without "=" (possible only from a file written by hand) names no variable.
  if (equals == std::string::npos) return {};
  return definition.substr(0, equals + 1) + "0";
}

}  // namespace quon
