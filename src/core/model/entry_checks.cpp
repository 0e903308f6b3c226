#include "core/model/entry_checks.h"

#include "core/model/problem_model.h"
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
