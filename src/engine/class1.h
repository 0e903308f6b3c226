// The math object published to the engine as "sh" with global members: the inverse sine
// and cosine, the hyperbolic functions and their inverses, computed in the classic forms
//   Asin x = atn(x / sqr(1 - x*x))        (x = 1: halfpi, x = -1: -halfpi)
//   Acos x = halfpi - atn(x / sqr(1 - x*x)) (x = 1: 0, x = -1: 2*halfpi)
//   Sinh x = (exp(x) - exp(-x)) * 0.5     Cosh x = (exp(x) + exp(-x)) * 0.5
//   Tanh x = 1 + (-2*exp(-x)) / (exp(-x) + exp(x))
//   Asinh x = log(x + sqr(x*x + 1))       Acosh x = log(x + sqr(x*x - 1))
//   Atanh x = log((1 + x) / (1 - x)) * 0.5
// step by step with the language's checked arithmetic, so that a failure falls exactly
// where that form fails: a square root or logarithm outside its domain is 5, a result
// beyond the double range 6, a division by zero 11 (0/0 is 6), an argument that is not a
// number 13. A failure is never raised: the function records its number in the object's
// ErrorNumber and returns 0, and the host turns the record into a failure of the whole
// evaluation.
//
// The object's variables halfpi (a Double, pi/2 once the host's set-up has assigned it)
// and ErrorNumber (a Long) live in the engine's globals store, so each store carries its
// own error record.
#pragma once

#include <cstdint>
#include <span>

#include "engine/named_object.h"

namespace quon {

class Class1 : public script::NamedObject {
 public:
  // Members in the order the engine sees them; the variables come first, so halfpi is
  // the object's variable 0 and ErrorNumber its variable 1.
  enum MemberIndex : uint32_t {
    halfpi,
    ErrorNumber,
    Asin,
    Acos,
    Sinh,
    Cosh,
    Tanh,
    Asinh,
    Acosh,
    Atanh
  };

  std::span<const script::Member> Members() const override;
  script::Variant InitialValue(uint32_t member) const override;
  script::ErrNum Call(uint32_t member, std::span<const script::Variant> arguments,
                      script::Variant* variables, script::Variant& result) const override;
  script::RealMemberFunction RealForm(uint32_t member) const override;
  script::RealBlockFunction RealBlockForm(uint32_t member) const override;

  // One function on a number, with the halfpi to use: the value, or the error number
  // that the function records (value then 0).
  struct Outcome {
    double value = 0.0;
    int32_t error = 0;
  };
  static Outcome Compute(MemberIndex function, double x, double halfpiValue);
};

}  // namespace quon
