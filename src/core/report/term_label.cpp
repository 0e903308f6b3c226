#include "core/report/term_label.h"

#include <algorithm>
#include <stdexcept>

#include "engine/number_text.h"

namespace quon {

std::string TermFactor(const ProblemModel& model, int k, int32_t t) {
  const auto slot = static_cast<std::size_t>(k);
  if (t == 0) return {};
  const double c = model.Center[slot];
  const bool isTrig = model.IsTrig[slot];
  std::string factor = "*";
  // A multiplier stands before a parenthesised argument only from the second multiple on.
  bool openArgument = true;
  if (!model.IsPower[slot]) {
    factor += t % 2 == 0 ? "cos(" : "sin(";
    if (t >= 3) {
      factor += std::to_string((t + 1) / 2);
      factor += '*';
    } else {
      openArgument = false;
    }
  }
  if (openArgument && c != 0) factor += "(";
  factor += slot < model.VarName.size() ? model.VarName[slot] : std::string();
  if (c == 0) {
    if (isTrig) factor += ")";
  } else if (c < 0) {
    factor += '+';
    factor += TextForm(c).substr(1);
    factor += ')';
  } else {  // positive, or a NaN read from a file: written as it stands
    factor += '-';
    factor += TextForm(c);
    factor += ')';
  }
  if (model.IsPower[slot] && t > 1) {
    factor += '^';
    factor += std::to_string(t);
  }
  if (isTrig && c != 0 && t > 2) factor += ")";
  return factor;
}

std::string TermLabel(const ProblemModel& model, const std::array<int32_t, 4>& TermIndex) {
  for (int k = 0; k < 4; ++k) {
    const int32_t t = TermIndex[static_cast<std::size_t>(k)];
    if (t < 0 || t >= model.Coef.extent(k) || model.Coef.empty()) {
      throw std::out_of_range("Term index " + std::to_string(t) + " of variable " +
                              std::to_string(k + 1) + " lies outside the coefficients.");
    }
  }
  std::string label;
  for (int k = 0; k <= model.LastVar; ++k) {
    label += TermFactor(model, k, TermIndex[static_cast<std::size_t>(k)]);
  }
  std::string line = TextForm(model.Coef(TermIndex[0], TermIndex[1], TermIndex[2], TermIndex[3]));
  line.append(TermTextPadding, ' ');
  const std::size_t room = line.size() - (LabelColumn - 1);
  line.replace(LabelColumn - 1, std::min(label.size(), room), label, 0, room);
  return line;
}

}  // namespace quon
