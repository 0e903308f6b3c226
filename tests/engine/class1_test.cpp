// The math object: each function's value in its classic form, and every failure that
// form produces, recorded rather than raised; the host's tests cover its wiring.
#include "class1.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace quon {
namespace {

const double kHalfpi = 2.0 * std::atan(1.0);

struct ValueCase {
  const char* name;
  Class1::MemberIndex function;
  double x;
  double expected;
};

class Class1Values : public testing::TestWithParam<ValueCase> {};

TEST_P(Class1Values, MatchesTheClassicForm) {
  const ValueCase& c = GetParam();
  const Class1::Outcome outcome = Class1::Compute(c.function, c.x, kHalfpi);
  EXPECT_EQ(outcome.error, 0);
  EXPECT_NEAR(outcome.value, c.expected, 8 * DBL_EPSILON * std::max(1.0, std::fabs(c.expected)));
}

const ValueCase kValueCases[] = {
    {"AsinOfOneIsHalfpi", Class1::Asin, 1.0, kHalfpi},
    {"AsinOfMinusOneIsMinusHalfpi", Class1::Asin, -1.0, -kHalfpi},
    {"AsinOfHalf", Class1::Asin, 0.5, std::atan(0.5 / std::sqrt(0.75))},
    {"AcosOfOneIsZero", Class1::Acos, 1.0, 0.0},
    {"AcosOfMinusOneIsTwiceHalfpi", Class1::Acos, -1.0, 2 * kHalfpi},
    {"AcosOfHalf", Class1::Acos, 0.5, kHalfpi - std::atan(0.5 / std::sqrt(0.75))},
    {"SinhOfOne", Class1::Sinh, 1.0, std::sinh(1.0)},
    {"CoshOfOne", Class1::Cosh, 1.0, std::cosh(1.0)},
    {"CoshNearItsLimit", Class1::Cosh, 709.0, (std::exp(709.0) + std::exp(-709.0)) * 0.5},
    {"TanhOfHalf", Class1::Tanh, 0.5, std::tanh(0.5)},
    {"AsinhOfTwo", Class1::Asinh, 2.0, std::asinh(2.0)},
    {"AcoshOfOneIsZero", Class1::Acosh, 1.0, 0.0},
    {"AcoshOfTwo", Class1::Acosh, 2.0, std::acosh(2.0)},
    {"AtanhOfHalf", Class1::Atanh, 0.5, std::atanh(0.5)},
};

INSTANTIATE_TEST_SUITE_P(MathObject, Class1Values, testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
  const char* name;
  Class1::MemberIndex function;
  double x;
  int32_t number;
};

class Class1Failures : public testing::TestWithParam<FailureCase> {};

TEST_P(Class1Failures, RecordsTheErrorAndReturnsZero) {
  const FailureCase& c = GetParam();
  const Class1::Outcome outcome = Class1::Compute(c.function, c.x, kHalfpi);
  EXPECT_EQ(outcome.error, c.number);
  EXPECT_EQ(outcome.value, 0.0);
}

const FailureCase kFailureCases[] = {
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

INSTANTIATE_TEST_SUITE_P(MathObject, Class1Failures, testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
