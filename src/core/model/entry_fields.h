// The texts of the main window's entry fields, as the window holds them. Gathering, the
// specification file writer and the command-line companion read a problem from these,
// so that every entry point turns text into numbers the same way.
#pragma once

#include <string>
#include <vector>

#include "core/model/term_kind.h"

namespace quon {

// One variable's entry fields, exactly as typed.
struct VariableFields {
  std::string LowerLimit = "-5";  // txtLL
  std::string UpperLimit = "5";   // txtUL
  std::string Expansion = "*";    // txtExpansion: "*" is the middle of the interval
  std::string Period = "*";       // txtPeriod: "*" is 2 pi
  std::string Terms = "10";       // txtTerms: number of terms
  bool PowerChecked = true;       // chkPower: checked for polynomial terms
  bool ChebyshevChecked = false;  // chkChebyshev: with chkPower, Chebyshev polynomials

  bool operator==(const VariableFields&) const = default;
};

// The kind of terms a variable's fields choose, and the fields that show a kind: the one
// reading and writing of the kind's check boxes. Power alone means power terms, Power and
// Chebyshev together Chebyshev terms, and neither trigonometric terms (the Chebyshev box
// counts only while Power is checked).
inline TermKind KindOf(const VariableFields& fields) {
  if (!fields.PowerChecked) return TermKind::Trigonometric;
  return fields.ChebyshevChecked ? TermKind::Chebyshev : TermKind::Power;
}

inline void ShowKind(VariableFields& fields, TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      fields.PowerChecked = true;
      fields.ChebyshevChecked = false;
      return;
    case TermKind::Trigonometric:
      fields.PowerChecked = false;
      fields.ChebyshevChecked = false;
      return;
    case TermKind::Chebyshev:
      fields.PowerChecked = true;
      fields.ChebyshevChecked = true;
      return;
  }
}

struct EntryFields {
  std::string Equation = "x^2*sin(y)+4*cos(z)-t";  // txtEquation
  std::vector<VariableFields> Variables;           // one per variable in use
  std::vector<std::string> ConstantItems;          // the items of cboConstants, in order
};

}  // namespace quon
