// An object published to the engine under a name: its functions and variables become
// names of the language (global names when published with global members, otherwise
// reached as name.member).
//
// The object holds no state of its own: its variables live in the engine's globals store,
// one slot each in the order Members lists them, and every call receives them. So one
// object serves any number of globals stores, for instance one per thread.
#pragma once

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
};

}  // namespace quon::script
