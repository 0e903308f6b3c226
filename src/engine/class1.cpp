#include "engine/class1.h"

#include <array>

#include "engine/conversions.h"
#include "engine/real_arithmetic.h"

namespace quon {
namespace {

using script::ErrNum;
using script::Member;
using script::VariableType;
using script::Variant;
namespace real = script::real;

constexpr std::array kMembers = {
    Member{"halfpi", false, 0, VariableType::Double},
    Member{"ErrorNumber", false, 0, VariableType::Long},
    Member{"Asin", true, 1, VariableType::Variant},
    Member{"Acos", true, 1, VariableType::Variant},
    Member{"Sinh", true, 1, VariableType::Variant},
    Member{"Cosh", true, 1, VariableType::Variant},
    Member{"Tanh", true, 1, VariableType::Variant},
    Member{"Asinh", true, 1, VariableType::Variant},
    Member{"Acosh", true, 1, VariableType::Variant},
    Member{"Atanh", true, 1, VariableType::Variant},
};

// The language's arithmetic with its checks: the first failing step sets `error`, and
// every later step yields 0 without computing.
class Checked {
 public:
  int32_t error = 0;

  double Add(double a, double b) { return Result(real::Add(a, b)); }
  double Sub(double a, double b) { return Result(real::Sub(a, b)); }
  double Mul(double a, double b) { return Result(real::Mul(a, b)); }
  double Div(double a, double b) {
    if (error == 0) Fail(real::DivideFailure(a, b));
    return Result(real::Div(a, b));
  }
  double Sqr(double x) { return Fail(real::SqrFailure(x)) ? 0.0 : Result(real::Sqr(x)); }
  double Log(double x) { return Fail(real::LogFailure(x)) ? 0.0 : Result(real::Log(x)); }
  double Exp(double x) { return Result(real::Exp(x)); }
  double Atn(double x) { return Result(real::Atn(x)); }

 private:
  double Result(double r) {
    if (error != 0) return 0.0;
    Fail(real::ResultFailure(r));
    return error != 0 ? 0.0 : r;
  }
  // Records the first failure; true when `number` is one.
  bool Fail(ErrNum number) {
    if (error == 0 && number != ErrNum::None) error = static_cast<int32_t>(number);
    return number != ErrNum::None;
  }
};

// The language's arithmetic unchecked, for the block form: every result is computed and
// `sum` gathers r - r of each, which stays 0 exactly when Checked would record nothing (a
// failure of Checked always shows as a result that is not finite).
struct Marked {
  double sum = 0.0;

  double Add(double a, double b) { return Mark(real::Add(a, b)); }
  double Sub(double a, double b) { return Mark(real::Sub(a, b)); }
  double Mul(double a, double b) { return Mark(real::Mul(a, b)); }
  double Div(double a, double b) { return Mark(real::Div(a, b)); }
  double Sqr(double x) { return Mark(real::Sqr(x)); }
  double Log(double x) { return Mark(real::Log(x)); }
  double Exp(double x) { return Mark(real::Exp(x)); }
  double Atn(double x) { return Mark(real::Atn(x)); }

 private:
  double Mark(double r) {
    sum += r - r;
    return r;
  }
};

// The functions in their classic forms over either arithmetic. exp(-x) is taken once
// where a form uses it twice: the same value, and after a failure of it Checked yields 0
// for every later step either way.
template <typename Arithmetic>
double Evaluate(Class1::MemberIndex function, double x, double halfpiValue, Arithmetic& c) {
  switch (function) {
    case Class1::Asin:
      if (x == 1.0) return halfpiValue;
      if (x == -1.0) return -halfpiValue;
      return c.Atn(c.Div(x, c.Sqr(c.Sub(1.0, c.Mul(x, x)))));
    case Class1::Acos:
      if (x == 1.0) return 0.0;
      if (x == -1.0) return c.Mul(2.0, halfpiValue);
      return c.Sub(halfpiValue, c.Atn(c.Div(x, c.Sqr(c.Sub(1.0, c.Mul(x, x))))));
    case Class1::Sinh:
      return c.Mul(c.Sub(c.Exp(x), c.Exp(-x)), 0.5);
    case Class1::Cosh:
      return c.Mul(c.Add(c.Exp(x), c.Exp(-x)), 0.5);
    case Class1::Tanh: {
      const double expMinusX = c.Exp(-x);
      const double numerator = c.Mul(-2.0, expMinusX);
      return c.Add(1.0, c.Div(numerator, c.Add(expMinusX, c.Exp(x))));
    }
    case Class1::Asinh:
      return c.Log(c.Add(x, c.Sqr(c.Add(c.Mul(x, x), 1.0))));
    case Class1::Acosh:
      return c.Log(c.Add(x, c.Sqr(c.Sub(c.Mul(x, x), 1.0))));
    case Class1::Atanh:
      return c.Mul(c.Log(c.Div(c.Add(1.0, x), c.Sub(1.0, x))), 0.5);
    default:
      return 0.0;
  }
}

}  // namespace

std::span<const Member> Class1::Members() const { return kMembers; }

Variant Class1::InitialValue(uint32_t member) const {
  return member == ErrorNumber ? Variant::Long(0) : Variant::Double(0.0);
}

Class1::Outcome Class1::Compute(MemberIndex function, double x, double halfpiValue) {
  Checked checked;
  const double value = Evaluate(function, x, halfpiValue, checked);
  if (checked.error != 0) return Outcome{0.0, checked.error};
  return Outcome{value, 0};
}

namespace {

bool RealValue(uint32_t member, double x, const Variant* variables, double& value) {
  const Class1::Outcome outcome = Class1::Compute(static_cast<Class1::MemberIndex>(member), x,
                                                  variables[Class1::halfpi].number());
  value = outcome.value;
  return outcome.error == 0;
}

bool RealValues(uint32_t member, const double* x, std::size_t count, const Variant* variables,
                double* values, double* checks) {
  const auto function = static_cast<Class1::MemberIndex>(member);
  const double halfpiValue = variables[Class1::halfpi].number();
  bool declined = false;
  for (std::size_t i = 0; i < count; ++i) {
    Marked marked;
    values[i] = Evaluate(function, x[i], halfpiValue, marked);
    checks[i] += marked.sum;
    declined |= marked.sum != 0.0;
  }
  return declined;
}

}  // namespace

script::RealMemberFunction Class1::RealForm(uint32_t member) const {
  return member >= Asin && member <= Atanh ? RealValue : nullptr;
}

script::RealBlockFunction Class1::RealBlockForm(uint32_t member) const {
  return member >= Asin && member <= Atanh ? RealValues : nullptr;
}

ErrNum Class1::Call(uint32_t member, std::span<const Variant> arguments, Variant* variables,
                    Variant& result) const {
  Outcome outcome;
  double x = 0.0;
  const ErrNum conversion = script::ToDouble(arguments[0], x);
  if (conversion != ErrNum::None) {
    outcome.error = static_cast<int32_t>(conversion);
  } else {
    outcome = Compute(static_cast<MemberIndex>(member), x, variables[halfpi].number());
  }
  if (outcome.error != 0) variables[ErrorNumber] = Variant::Long(outcome.error);
  result = Variant::Double(outcome.value);
  return ErrNum::None;
}

}  // namespace quon
