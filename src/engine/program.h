// A compiled text: a flat sequence of stack operations with its constants, the call sites
// of published objects and the failures decided at compile time, names resolved to slots
// of the globals store. A program is immutable once compiled and may be run by several
// threads at once, each with its own globals and runner.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/err_num.h"
#include "engine/named_object.h"
#include "engine/real_code.h"
#include "engine/variant.h"

namespace quon::script {

enum class Op : uint8_t {
  Push,   // the operand (a constant or a global)
  Store,  // pops the top into global `index`
  Fail,   // raises failures[index]
  Call,   // calls calls[index] with `argc` arguments from the stack
  Negate,
  Not,
  // Binary operators: the right operand is the operand, the left one the stack's top.
  Add,
  Sub,
  Mul,
  Div,
  IntDiv,
  Mod,
  Pow,
  Concat,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
  // Built-in functions: one argument (the operand) unless `argc` says otherwise.
  Abs,
  Atn,
  Cos,
  Exp,
  Fix,
  Int,
  Log,
  Sgn,
  Sin,
  Sqr,
  Tan,
  Round,
  CDbl,
  CInt,
  CLng,
  CBool,
  CStr,
  CByte,
  CSng,
  CCur,
  TypeName,
  // Values and kinds (builtins_info.cpp).
  IsNumeric,
  IsEmpty,
  IsNull,
  IsArray,
  IsObject,
  VarType,
  Hex,
  Oct,
  RGB,
  ScriptEngine,
  ScriptEngineMajorVersion,
  ScriptEngineMinorVersion,
  ScriptEngineBuildVersion,
  // Texts (builtins_text.cpp).
  Len,
  Left,
  Right,
  Mid,
  InStr,
  InStrRev,
  LCase,
  UCase,
  LTrim,
  RTrim,
  Trim,
  Space,
  String,
  StrComp,
  StrReverse,
  Replace,
  Chr,
  Asc,
  // The random generator (builtins_random.cpp); Randomize is a statement and leaves no value.
  Rnd,
  Randomize,
};

// Where an operation's (right or only) operand comes from.
enum class Src : uint8_t { Stack, Const, Global };

struct Instr {
  Op op = Op::Push;
  Src src = Src::Stack;
  uint16_t argc = 0;
  uint32_t index = 0;  // constant, global slot, call site or failure
};

struct CallSite {
  const NamedObject* object = nullptr;
  uint32_t member = 0;
  uint32_t firstVariable = 0;  // the globals slot of the object's first variable
};

struct Failure {
  ErrNum number = ErrNum::None;
  std::string name;  // the name the failure concerns, for its description
};

struct Program {
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  std::vector<Instr> code;
  std::vector<Variant> constants;
  std::vector<std::unique_ptr<std::string>> texts;  // the texts String constants refer to
  std::vector<CallSite> calls;
  std::vector<Failure> failures;
  std::vector<std::shared_ptr<const NamedObject>> objects;  // kept alive for the calls
  uint32_t maxStack = 0;                                    // deepest stack the code reaches
  uint32_t slotCount = 0;                                   // globals the code needs
  bool yieldsValue = false;  // an expression: the value is left on the stack
  // Only arithmetic, built-in and object functions and reads of variables: running it
  // changes nothing but the object variables its calls write.
  bool pure = true;
  RealCode real;  // the expression's real form, when it has one
};

}  // namespace quon::script
