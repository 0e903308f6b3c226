// The program's error numbers, with the values users of the language know them by, an
// example input for each, one table from number to message, the one error type that
// carries a failure to its callers, and the one rule of which failures the user has been
// told about.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quon::script {

enum class ErrNum : int32_t {
  None = 0,
  InvalidCall = 5,                // Sqr(-1), Log(0), (-8)^(1/3)
  Overflow = 6,                   // Exp(710), CInt(40000), 0/0, 3E10 \ 2
  OutOfMemory = 7,                // a grid of samples larger than memory
  SubscriptOutOfRange = 9,        // coefficients whose shape differs from the term counts
  DivisionByZero = 11,            // 1/0, 1\0, 5 Mod 0
  OutOfStringSpace = 14,          // Space(1E9): a text longer than MaxTextLength
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

// The numeric failures: 5, 6, 11 and the already-reported code. The error event passes
// over them silently (their callers decide what follows), and the fit rides over them.
constexpr bool IsNumericFailure(int32_t number) {
  switch (static_cast<ErrNum>(number)) {
    case ErrNum::InvalidCall:
    case ErrNum::Overflow:
    case ErrNum::DivisionByZero:
    case ErrNum::AlreadyReported:
      return true;
    default:
      return false;
  }
}

// Whether the user has been told about a failure by the time it reaches its caller: the
// error event shows every error but the numeric failures, and the already-reported code
// says that a message went out before.
constexpr bool AlreadyReported(int32_t number) {
  return !IsNumericFailure(number) || number == static_cast<int32_t>(ErrNum::AlreadyReported);
}

// A failure as the language's callers receive it: the error's number (an ErrNum, or a
// number a published object raised), its description, and the offset in the text of the
// character where it was found (-1 when the failure belongs to no character).
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int32_t number, const std::string& description, int32_t position = -1)
      : std::runtime_error(description), Number(number), Position(position) {}
  ScriptError(ErrNum number, const std::string& description, int32_t position = -1)
      : ScriptError(static_cast<int32_t>(number), description, position) {}
  ErrNum Code() const { return static_cast<ErrNum>(Number); }

  int32_t Number;
  int32_t Position;
};

}  // namespace quon::script
