// The language's built-in functions, looked up by name in any case, and their evaluation.
// Here the numeric ones (Abs, Atn, Cos, Exp, Fix, Int, Log, Sgn, Sin, Sqr, Tan, Round, CDbl,
// CInt, CLng, CByte, CSng, CCur, CBool, CStr, TypeName) with the language's rules: Abs,
// Fix, Int and Round keep the kind of a Byte, Single or Currency; Null gives Null for Abs,
// Fix, Int and Round and error 94 elsewhere; Log and Sqr outside their domain and a
// negative number of decimals for Round give 5; every Double result is checked as the
// operators check theirs; Round, CInt, CLng, CByte and CCur round halves to the even
// neighbour. The other families live in builtins_info.cpp, builtins_text.cpp and
// builtins_random.cpp.
#pragma once

#include <optional>
#include <string_view>

#include "engine/err_num.h"
#include "engine/operators.h"
#include "engine/program.h"
#include "engine/variant.h"

namespace quon::script {

struct Builtin {
  std::string_view name;
  Op op;
  uint16_t minArgs;
  uint16_t maxArgs;
  bool pure = true;  // false: a call changes state that later calls see (Rnd)
};

class RandomGenerator;

// What a built-in may use besides its arguments: the run's text scratch and the engine's
// random generator.
struct BuiltinContext {
  StringScratch& scratch;
  RandomGenerator& random;
};

std::optional<Builtin> FindBuiltin(std::string_view name);

// args[0..argc) are the arguments; the result goes to result (which may alias args[0]).
ErrNum CallBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                   BuiltinContext& context);

// The families, called by CallBuiltin for their own operations.
ErrNum CallInfoBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                       StringScratch& scratch);
ErrNum CallTextBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                       StringScratch& scratch);
ErrNum CallRandomBuiltin(Op op, const Variant* args, uint16_t argc, Variant& result,
                         RandomGenerator& random);

}  // namespace quon::script
