#include "core/model/term_kind.h"

namespace quon {

bool UsesPeriod(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return false;
    case TermKind::Trigonometric:
      return true;
    case TermKind::Chebyshev:
      return false;
  }
  return false;
}

bool UsesCenter(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
    case TermKind::Trigonometric:
      return true;
    case TermKind::Chebyshev:
      return false;
  }
  return true;
}

bool SolvedByElimination(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
    case TermKind::Trigonometric:
      return true;
    case TermKind::Chebyshev:
      return false;
  }
  return true;
}

const char* KindName(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return "power";
    case TermKind::Trigonometric:
      return "trigonometric";
    case TermKind::Chebyshev:
      return "Chebyshev";
  }
  return "";
}

}  // namespace quon
