// Rnd and Randomize: the language's sequence and its restarts.
#include <gtest/gtest.h>

#include "engine/number_text.h"
#include "support/engine_cases.h"

namespace quon::script {
namespace {

using test::FailureCase;
using test::ValueCase;

class RandomBuiltins : public testing::TestWithParam<ValueCase> {};
TEST_P(RandomBuiltins, EvaluateToValueAndKind) { test::ExpectValue(GetParam()); }

// The first numbers of the language's sequence are 0.7055475, 0.533424, ...; Rnd(-1) is
// 0.224007; after Randomize 0 the sequence starts at 0.7641413.
const ValueCase kRandomCases[] = {
    {"FirstNumberOfTheSequence", "Rnd", Kind::Single, "0.7055475"},
    {"SecondNumberFollows", "Rnd - Rnd(1)", Kind::Single, "0.1721235"},
    {"ZeroRepeatsTheLast", "Rnd(1) - Rnd(0)", Kind::Single, "0"},
    {"NegativeArgumentRestarts", "Rnd(-1)", Kind::Single, "0.224007"},
    {"SameNegativeArgumentSameNumber", "Rnd(-1) = Rnd(-1)", Kind::Boolean, "True"},
};

INSTANTIATE_TEST_SUITE_P(Random, RandomBuiltins, testing::ValuesIn(kRandomCases), test::RowName());

class RandomBuiltinFailures : public testing::TestWithParam<FailureCase> {};
TEST_P(RandomBuiltinFailures, FailWithErrorNumber) { test::ExpectFailure(GetParam()); }

const FailureCase kRandomFailures[] = {
    {"RndOfWord", "Rnd(\"a\")", ErrNum::TypeMismatch},
    {"RndOfNull", "Rnd(Null)", ErrNum::InvalidUseOfNull},
    {"RndWithTwoArguments", "Rnd(1, 2)", ErrNum::WrongArgumentCount},
};

INSTANTIATE_TEST_SUITE_P(Random, RandomBuiltinFailures, testing::ValuesIn(kRandomFailures),
                         test::RowName());

TEST(Randomize, ZeroRestartsTheSequenceFromItsSeedAndNoNumberStillDrawsInRange) {
  Engine engine;
  engine.ExecuteStatement("Randomize 0");
  EXPECT_EQ(TextForm(engine.Eval("Rnd").number), "0.764141261577606");
  engine.ExecuteStatement("Randomize");
  const double x = engine.Eval("Rnd").number;
  EXPECT_GE(x, 0.0);
  EXPECT_LT(x, 1.0);
}

}  // namespace
}  // namespace quon::script
