#include "core/model/entry_checks.h"

#include "core/model/problem_model.h"
#include "core/model/quoted_text.h"
#include "core/model/variable_names.h"
#include "engine/number_text.h"

namespace quon {

std::optional<int32_t> AcceptVariableCount(std::string_view text) {
  const double count = LeadingNumber(text);
  if (!(count > 0.0) || count > MaxVars) return std::nullopt;
  const std::optional<int32_t> lastVar = RoundHalfEvenToInt32(count - 1.0);
  if (!lastVar || *lastVar < 0) return std::nullopt;
  return lastVar;
}

std::vector<std::string> SplitNames(std::string_view text) {
  std::vector<std::string> names;
  if (text.empty()) return names;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      names.emplace_back(text.substr(start));
      return names;
    }
    names.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

std::optional<std::string> NamesProblem(const std::vector<std::string>& names) {
  const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    const std::string shown = Quoted(name);
    if (name.empty()) return "variable " + std::to_string(i + 1) + " has no name.";
    if (name.front() == ' ' || name.back() == ' ' || control(name.front()) ||
        control(name.back())) {
      return "the name " + shown + " has blanks or control characters around it.";
    }
    for (const char c : name) {
      if (control(c)) return "the name " + shown + " holds a control character.";
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameVariableName(names[j], name)) {
        return "the names " + Quoted(names[j]) + " and " + shown +
               " name one variable (the case of letters does not matter).";
      }
    }
  }
  return std::nullopt;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += ',';
    joined += names[i];
  }
  return joined;
}

std::string Signature(const std::vector<std::string>& names) {
  return "f(" + JoinNames(names) + ")";
}

bool LimitAccepted(std::string_view text) { return IsNumber(text); }

bool TermCountAccepted(std::string_view text) {
  return IsNumber(text) && LeadingNumber(text) >= 2.0;
}

bool EquationAccepted(std::string_view text) { return !text.empty(); }

}  // namespace quon
