#include "core/report/term_label.h"

#include <algorithm>
#include <stdexcept>

#include "core/model/node_geometry.h"
#include "engine/number_text.h"

namespace quon {

namespace {

// The distance from the centre after the name: nothing at centre 0, "+0.5)" below it,
// "-2)" above it (or for a NaN read from a file, written as it stands). The caller writes
// the opening parenthesis.
std::string CentreSuffix(double c) {
  if (c == 0) return {};
  if (c < 0) return "+" + TextForm(c).substr(1) + ")";
  return "-" + TextForm(c) + ")";
}

std::string PowerFactor(const std::string& name, double c, int32_t t) {
  std::string factor = "*";
  if (c != 0) factor += "(";
  factor += name + CentreSuffix(c);
  if (t > 1) factor += "^" + std::to_string(t);
  return factor;
}

std::string TrigonometricFactor(const std::string& name, double c, int32_t t) {
  std::string factor = "*";
  factor += t % 2 == 0 ? "cos(" : "sin(";
  // A multiplier stands before a parenthesised argument only from the second multiple on.
  const bool multiple = t >= 3;
  if (multiple) factor += std::to_string((t + 1) / 2) + "*";
  if (multiple && c != 0) factor += "(";
  factor += name;
  factor += c == 0 ? std::string(")") : CentreSuffix(c);
  if (c != 0 && t > 2) factor += ")";
  return factor;
}

// "*T3(x)": the polynomial's degree and the variable; the map s = (x - m) / r that turns
// the coordinate into the polynomial's argument is the help's and the report's to state.
std::string ChebyshevFactor(const std::string& name, int32_t t) {
  return "*T" + std::to_string(t) + "(" + name + ")";
}

}  // namespace

std::string TermFactor(const ProblemModel& model, int k, int32_t t) {
  const auto slot = static_cast<std::size_t>(k);
  if (t == 0) return {};
  const std::string name = slot < model.VarName.size() ? model.VarName[slot] : std::string();
  const double c = model.Center[slot];
  switch (model.Kind[slot]) {
    case TermKind::Power:
      return PowerFactor(name, c, t);
    case TermKind::Trigonometric:
      return TrigonometricFactor(name, c, t);
    case TermKind::Chebyshev:
      return ChebyshevFactor(name, t);
  }
  return {};
}

std::string MappedTermFactor(const ProblemModel& model, int k, int32_t t) {
  const auto slot = static_cast<std::size_t>(k);
  switch (model.Kind[slot]) {
    case TermKind::Power:
    case TermKind::Trigonometric:
      break;
    case TermKind::Chebyshev: {
      if (t == 0) return {};
      const NodeGeometry g = VariableGeometry(model, k);
      const std::string name = slot < model.VarName.size() ? model.VarName[slot] : std::string();
      const std::string shifted = g.Middle == 0 ? name : "(" + name + CentreSuffix(g.Middle);
      return "*T" + std::to_string(t) + "(" + shifted + "/" + TextForm(g.HalfWidth) + ")";
    }
  }
  return TermFactor(model, k, t);
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
  for (int k = 0; k < VariableCount(model); ++k) {
    label += TermFactor(model, k, TermIndex[static_cast<std::size_t>(k)]);
  }
  std::string line = TextForm(model.Coef(TermIndex[0], TermIndex[1], TermIndex[2], TermIndex[3]));
  line.append(TermTextPadding, ' ');
  const std::size_t room = line.size() - (LabelColumn - 1);
  line.replace(LabelColumn - 1, std::min(label.size(), room), label, 0, room);
  return line;
}

}  // namespace quon
