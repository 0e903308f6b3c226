// An object published to the engine under a name: its functions and variables become
// names of the language (global names when published with global members, otherwise
// reached as name.member).
//
// The object holds no state of its own: its variables live in the engine's globals store,
// one slot each in the order Members lists them, and every call receives them. So one
// object serves any number of globals stores, for instance one per thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/err_num.h"
#include "engine/variant.h"

namespace quon::script {

// The kind a variable of an object keeps: an assignment converts to it (CDbl, CLng).
enum class VariableType : uint8_t { Variant, Double, Long };

struct Member {
  std::string_view name;
  bool isFunction = false;
  uint16_t arity = 0;                         // functions
  VariableType type = VariableType::Variant;  // variables
};

// A function of one number that needs nothing but the number and the object's variables:
// true with its value, or false where the call would record or raise a failure. The
// all-double forms of an expression call it without variants.
using RealMemberFunction = bool (*)(uint32_t member, double x, const Variant* variables,
                                    double& value);

// The same function over `count` arguments at once, for the forms of an expression that
// run over blocks of points: values[i] is what the real form gives x[i] when it succeeds,
// and checks[i] receives an addend that is 0 when it does and NaN when it declines (the
// block form's marks of points that must take the per-point path). Returns whether it
// declined any.
using RealBlockFunction = bool (*)(uint32_t member, const double* x, std::size_t count,
                                   const Variant* variables, double* values, double* checks);

class NamedObject {
 public:
  virtual ~NamedObject() = default;

  // Functions and variables; the variables' initial values come from InitialValue.
  virtual std::span<const Member> Members() const = 0;
  virtual Variant InitialValue(uint32_t member) const = 0;

  // Calls function `member` (an index into Members) with exactly its arity of arguments.
  // `variables` are the object's variable slots, in the order of Members; a function may
  // write numbers of the declared kinds there, never texts. A non-zero result is raised
  // as an error of the expression.
  virtual ErrNum Call(uint32_t member, std::span<const Variant> arguments, Variant* variables,
                      Variant& result) const = 0;

  // The real form of function `member`, when its Call is exactly that function of its
  // argument's number (the result a Double); null otherwise.
  virtual RealMemberFunction RealForm(uint32_t member) const {
    (void)member;
    return nullptr;
  }
  // Its form over blocks, when it has one (null otherwise); it must agree with RealForm
  // bit for bit.
  virtual RealBlockFunction RealBlockForm(uint32_t member) const {
    (void)member;
    return nullptr;
  }
};

}  // namespace quon::script
