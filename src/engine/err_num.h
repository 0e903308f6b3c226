// The error numbers the expression language raises, with the values users of the
// language know them by, an example input for each, and one table from number to message.
#pragma once

#include <cstdint>
#include <string>

namespace quon::script {

enum class ErrNum : int32_t {
  None = 0,
  InvalidCall = 5,                // Sqr(-1), Log(0), (-8)^(1/3)
  Overflow = 6,                   // Exp(710), CInt(40000), 0/0, 3E10 \ 2
  DivisionByZero = 11,            // 1/0, 1\0, 5 Mod 0
  TypeMismatch = 13,              // "abc"+1, an unknown function foo(1)
  OutOfStackSpace = 28,           // parentheses or signs nested beyond the engine's depth
  InvalidUseOfNull = 94,          // Sqr(Null)
  NoSuchMember = 438,             // sh.NoSuchThing
  WrongArgumentCount = 450,       // Sin(1, 2), Sin used without an argument
  IllegalAssignment = 501,        // Sin = 3
  SyntaxError = 1002,             // "sin(x", "2x", "x = "; the description says what and where
  NameRedefined = 1041,           // a named object whose member names are already taken
  AlreadyReported = -2147352319,  // 0x80020101: the host has already been told
};

// The language's own description of an error number; a generic text for unknown numbers.
std::string ErrorDescription(int32_t number);

inline std::string ErrorDescription(ErrNum number) {
  return ErrorDescription(static_cast<int32_t>(number));
}

}  // namespace quon::script
