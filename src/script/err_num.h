// The error numbers the expression language raises, with the values users of the
// language know them by, and one table from number to message.
#pragma once

#include <cstdint>
#include <string>

namespace quon::script {

enum class ErrNum : int32_t {
  None = 0,
  InvalidCall = 5,       // Sqr(-1), Log(0)
  Overflow = 6,          // Exp(710), CInt(40000)
  DivisionByZero = 11,   // 1/0, 1\0, 5 Mod 0
  TypeMismatch = 13,     // "abc"+1
  AlreadyReported = -2147352319,  // 0x80020101: the host has already been told
};

// The language's own description of an error number; a generic text for unknown numbers.
std::string ErrorDescription(int32_t number);

}  // namespace quon::script
