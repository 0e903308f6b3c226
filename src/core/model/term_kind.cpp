#include "core/model/term_kind.h"

namespace quon {

bool UsesPeriod(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return false;
    case TermKind::Trigonometric:
      return true;
  }
  return false;
}

const char* KindName(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return "power";
    case TermKind::Trigonometric:
      return "trigonometric";
  }
  return "";
}

}  // namespace quon
