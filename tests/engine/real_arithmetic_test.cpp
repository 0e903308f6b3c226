// The paths that compute the language's Double arithmetic agree bit for bit, on values
// and on failures: the operator and built-in functions on variants (the general path),
// the interpreter's inline paths for Double operands, and the real code of an all-double
// expression. Each row is one operation over the variables a and b, run on a grid of
// operands that includes the edges of every failure. The real code agrees with the full
// code on whole numbers as well, where it reads them.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/builtins.h"
#include "engine/builtins_random.h"
#include "engine/engine.h"

namespace quon::script {
namespace {

using General = ErrNum (*)(double a, double b, Variant& out, StringScratch& scratch);

struct PathCase {
  const char* name;
  const char* expression;
  General general;
};

template <Op op>
ErrNum Builtin(double a, double, Variant& out, StringScratch& scratch) {
  const Variant arg = Variant::Double(a);
  RandomGenerator random;
  BuiltinContext context{scratch, random};
  return CallBuiltin(op, &arg, 1, out, context);
}

// The operator on the Double operands a and b.
template <ErrNum (*op)(Variant&, const Variant&)>
ErrNum Binary(double a, double b, Variant& out, StringScratch&) {
  out = Variant::Double(a);
  return op(out, Variant::Double(b));
}

const PathCase kPathCases[] = {
    {"Add", "a + b",
     [](double a, double b, Variant& out, StringScratch& s) {
       out = Variant::Double(a);
       return Add(out, Variant::Double(b), s);
     }},
    {"Subtract", "a - b", Binary<Subtract>},
    {"Multiply", "a * b", Binary<Multiply>},
    {"MultiplyByConstantOnTheLeft", "4 * a",
     [](double a, double, Variant& out, StringScratch&) {
       out = Variant::Integer(4);
       return Multiply(out, Variant::Double(a));
     }},
    {"Divide", "a / b", Binary<Divide>},
    {"Power", "a ^ b", Binary<Power>},
    {"Square", "a ^ 2",
     [](double a, double, Variant& out, StringScratch&) {
       out = Variant::Double(a);
       return Power(out, Variant::Integer(2));
     }},
    {"Negate", "-a",
     [](double a, double, Variant& out, StringScratch&) {
       out = Variant::Double(a);
       return Negate(out);
     }},
    {"Sin", "Sin(a)", Builtin<Op::Sin>},
    {"Cos", "Cos(a)", Builtin<Op::Cos>},
    {"Tan", "Tan(a)", Builtin<Op::Tan>},
    {"Atn", "Atn(a)", Builtin<Op::Atn>},
    {"Exp", "Exp(a)", Builtin<Op::Exp>},
    {"Log", "Log(a)", Builtin<Op::Log>},
    {"Sqr", "Sqr(a)", Builtin<Op::Sqr>},
    {"Abs", "Abs(a)", Builtin<Op::Abs>},
    {"Fix", "Fix(a)", Builtin<Op::Fix>},
    {"Int", "Int(a)", Builtin<Op::Int>},
};

std::vector<double> Operands() {
  std::vector<double> values = {0.0,   -0.0,    1.0,      -1.0,    2.0,      0.5,    -2.5,
                                3.7,   1e-300,  1e300,    -1e300,  709.78,   709.79, -745.2,
                                1e308, DBL_MAX, -DBL_MAX, DBL_MIN, 4.9e-324, 1e10,   -1e-10};
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 12; ++i) {
    const double x = std::bit_cast<double>(random());
    if (x - x == 0.0) values.push_back(x);
  }
  return values;
}

// The outcome of one path: its error, and the bits of its Double result.
struct Outcome {
  ErrNum err = ErrNum::None;
  uint64_t bits = 0;
  bool operator==(const Outcome&) const = default;
};

Outcome Of(ErrNum err, const Variant& result) {
  if (err != ErrNum::None) return {err, 0};
  EXPECT_TRUE(result.Is(Kind::Double));
  return {err, std::bit_cast<uint64_t>(result.number())};
}

class ArithmeticPaths : public testing::TestWithParam<PathCase> {};

TEST_P(ArithmeticPaths, RealCodeInlinePathsAndOperatorsAgree) {
  Engine engine;
  const auto program = engine.CompileExpression(GetParam().expression);
  ASSERT_FALSE(program->real.code.empty()) << "no real form";
  const uint32_t a = *engine.names().FindVariable("a");
  const std::optional<uint32_t> b = engine.names().FindVariable("b");
  Runner real;
  Runner full;
  StringScratch scratch;
  for (const double x : Operands()) {
    for (const double y : Operands()) {
      Globals globals = engine.globals();
      globals.Assign(a, Variant::Double(x));
      if (b) globals.Assign(*b, Variant::Double(y));
      const Outcome fromReal =
          Of(script::Run(*program, globals, real, RunMode::Fastest), real.result());
      const Outcome fromFull =
          Of(script::Run(*program, globals, full, RunMode::FullCodeOnly), full.result());
      Variant out;
      const Outcome fromGeneral = Of(GetParam().general(x, y, out, scratch), out);
      ASSERT_EQ(fromReal, fromFull) << x << ", " << y;
      ASSERT_EQ(fromFull, fromGeneral) << x << ", " << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, ArithmeticPaths, testing::ValuesIn(kPathCases),
                         [](const testing::TestParamInfo<PathCase>& info) {
                           return info.param.name;
                         });

// Whole numbers in the variables: a text whose real code reads them (every + - * keeps an
// operand computed in doubles, no whole value negated or rounded) gives the full code's
// value and failure bit for bit; any other text leaves them to the full code, with the
// same result. The variables take Integers, Longs and Doubles in every combination.
struct WholeCase {
  const char* name;
  const char* expression;
  bool wholeReads;
};

class WholeReads : public testing::TestWithParam<WholeCase> {};

TEST_P(WholeReads, RealCodeAgreesWithTheFullCode) {
  Engine engine;
  const auto program = engine.CompileExpression(GetParam().expression);
  ASSERT_FALSE(program->real.code.empty()) << "no real form";
  EXPECT_EQ(program->real.wholeReads, GetParam().wholeReads);
  std::vector<Variant> values = {Variant::Integer(-32768), Variant::Integer(-1),
                                 Variant::Integer(0),      Variant::Integer(7),
                                 Variant::Integer(32767),  Variant::Long(-2147483647 - 1),
                                 Variant::Long(100000)};
  for (const double x : Operands()) values.push_back(Variant::Double(x));
  const uint32_t a = *engine.names().FindVariable("a");
  const uint32_t b = *engine.names().FindVariable("b");
  Runner real;
  Runner full;
  for (const Variant& x : values) {
    for (const Variant& y : values) {
      Globals globals = engine.globals();
      globals.Assign(a, x);
      globals.Assign(b, y);
      const Outcome fromReal =
          Of(script::Run(*program, globals, real, RunMode::Fastest), real.result());
      const Outcome fromFull =
          Of(script::Run(*program, globals, full, RunMode::FullCodeOnly), full.result());
      ASSERT_EQ(fromReal, fromFull) << x.number() << ", " << y.number();
    }
  }
}

const WholeCase kWholeCases[] = {
    {"DefaultFunction", "a^2*sin(b)+4*cos(b)-a", true},
    {"QuotientsAndPowers", "a / 3 + b ^ 1.5 - 2 ^ a * exp(b / a)", true},
    {"ProductWithAFunction", "sqr(a) * b - atn(b) * a", true},
    {"ProductOfTwoVariables", "a * b + sin(a)", false},
    {"NegatedVariableKeepsNoMinusZero", "-a * sin(b)", false},
    {"WholeConstantTimesVariable", "2 * a + sin(b)", false},
    {"RoundingOfAVariable", "abs(a) + sin(b)", false},
};

INSTANTIATE_TEST_SUITE_P(Texts, WholeReads, testing::ValuesIn(kWholeCases),
                         [](const testing::TestParamInfo<WholeCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace quon::script
