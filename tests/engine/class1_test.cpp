// The math object: each function's value in its classic form, and every failure that
// form produces, recorded rather than raised; the host's tests cover its wiring.
#include "engine/class1.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "support/engine_cases.h"

namespace quon {
namespace {

const double kHalfpi = 2.0 * std::atan(1.0);

// One call's outcome: the error number it records (0 for none) and its value, which is
// exactly 0 after a failure.
struct OutcomeCase {
  const char* name;
  Class1::MemberIndex function;
  double x;
  int32_t error;
  double value = 0.0;
};

class Class1Outcomes : public testing::TestWithParam<OutcomeCase> {};

TEST_P(Class1Outcomes, MatchTheClassicForm) {
  const OutcomeCase& c = GetParam();
  const Class1::Outcome outcome = Class1::Compute(c.function, c.x, kHalfpi);
  EXPECT_EQ(outcome.error, c.error);
  const double tolerance = c.error != 0 ? 0.0 : 8 * DBL_EPSILON * std::max(1.0, std::fabs(c.value));
  EXPECT_NEAR(outcome.value, c.value, tolerance);
}

const OutcomeCase kValues[] = {
    {"AsinOfOneIsHalfpi", Class1::Asin, 1.0, 0, kHalfpi},
    {"AsinOfMinusOneIsMinusHalfpi", Class1::Asin, -1.0, 0, -kHalfpi},
    {"AsinOfHalf", Class1::Asin, 0.5, 0, std::atan(0.5 / std::sqrt(0.75))},
    {"AcosOfOneIsZero", Class1::Acos, 1.0, 0, 0.0},
    {"AcosOfMinusOneIsTwiceHalfpi", Class1::Acos, -1.0, 0, 2 * kHalfpi},
    {"AcosOfHalf", Class1::Acos, 0.5, 0, kHalfpi - std::atan(0.5 / std::sqrt(0.75))},
    {"SinhOfOne", Class1::Sinh, 1.0, 0, std::sinh(1.0)},
    {"CoshOfOne", Class1::Cosh, 1.0, 0, std::cosh(1.0)},
    {"CoshNearItsLimit", Class1::Cosh, 709.0, 0, (std::exp(709.0) + std::exp(-709.0)) * 0.5},
    {"TanhOfHalf", Class1::Tanh, 0.5, 0, std::tanh(0.5)},
    {"AsinhOfTwo", Class1::Asinh, 2.0, 0, std::asinh(2.0)},
    {"AcoshOfOneIsZero", Class1::Acosh, 1.0, 0, 0.0},
    {"AcoshOfTwo", Class1::Acosh, 2.0, 0, std::acosh(2.0)},
    {"AtanhOfHalf", Class1::Atanh, 0.5, 0, std::atanh(0.5)},
};

const OutcomeCase kFailures[] = {
    {"AsinBeyondOne", Class1::Asin, 1.5, 5},
    {"AcosBeyondOne", Class1::Acos, 2.0, 5},
    {"AsinOfHugeOverflowsSquare", Class1::Asin, 1e200, 6},
    {"SinhBeyondExpRange", Class1::Sinh, 710.0, 6},
    {"SinhOfLargeNegative", Class1::Sinh, -710.0, 6},
    {"CoshBeyondExpRange", Class1::Cosh, 710.0, 6},
    {"TanhOfEightHundred", Class1::Tanh, 800.0, 6},
    {"TanhOfMinusEightHundred", Class1::Tanh, -800.0, 6},
    {"AsinhCancelsToZero", Class1::Asinh, -1e9, 5},
    {"AsinhSquareOverflows", Class1::Asinh, 1e200, 6},
    {"AcoshSquareOverflows", Class1::Acosh, 1e200, 6},
    {"AcoshBelowOne", Class1::Acosh, 0.5, 5},
    {"AcoshOfMinusTwo", Class1::Acosh, -2.0, 5},
    {"AtanhOfOne", Class1::Atanh, 1.0, 11},
    {"AtanhOfMinusOne", Class1::Atanh, -1.0, 5},
    {"AtanhBeyondOne", Class1::Atanh, 2.0, 5},
};

INSTANTIATE_TEST_SUITE_P(Values, Class1Outcomes, testing::ValuesIn(kValues), test::RowName());
INSTANTIATE_TEST_SUITE_P(Failures, Class1Outcomes, testing::ValuesIn(kFailures), test::RowName());

}  // namespace
}  // namespace quon
