#include "script/err_num.h"

namespace quon::script {

std::string ErrorDescription(int32_t number) {
  switch (static_cast<ErrNum>(number)) {
    case ErrNum::None: return "";
    case ErrNum::InvalidCall: return "Invalid procedure call or argument";
    case ErrNum::Overflow: return "Overflow";
    case ErrNum::DivisionByZero: return "Division by zero";
    case ErrNum::TypeMismatch: return "Type mismatch";
    case ErrNum::AlreadyReported: return "Error already reported";
  }
  return "Unknown runtime error " + std::to_string(number);
}

}  // namespace quon::script
