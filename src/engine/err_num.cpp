#include "engine/err_num.h"

namespace quon::script {

std::string ErrorDescription(int32_t number) {
  switch (static_cast<ErrNum>(number)) {
    case ErrNum::None:
      return "";
    case ErrNum::InvalidCall:
      return "Invalid procedure call or argument";
    case ErrNum::Overflow:
      return "Overflow";
    case ErrNum::OutOfMemory:
      return "Out of memory";
    case ErrNum::SubscriptOutOfRange:
      return "Subscript out of range";
    case ErrNum::DivisionByZero:
      return "Division by zero";
    case ErrNum::OutOfStringSpace:
      return "Out of string space";
    case ErrNum::TypeMismatch:
      return "Type mismatch";
    case ErrNum::OutOfStackSpace:
      return "Out of stack space";
    case ErrNum::InvalidUseOfNull:
      return "Invalid use of Null";
    case ErrNum::NoSuchMember:
      return "Object doesn't support this property or method";
    case ErrNum::WrongArgumentCount:
      return "Wrong number of arguments or invalid property assignment";
    case ErrNum::IllegalAssignment:
      return "Illegal assignment";
    case ErrNum::SyntaxError:
      return "Syntax error";
    case ErrNum::NameRedefined:
      return "Name redefined";
    case ErrNum::AlreadyReported:
      return "Error already reported";
  }
  return "Unknown runtime error " + std::to_string(number);
}

}  // namespace quon::script
