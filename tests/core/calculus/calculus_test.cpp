// Derivatives and integrals: exact where the basis represents the function, close to the
// evaluator's central differences elsewhere, and the integral of the first problem equal to
// an independent Gauss-Legendre quadrature of the approximation.
#include "core/calculus/calculus.h"

#include <gtest/gtest.h>

#include "core/eval/evaluator.h"
#include "support/export_problems.h"
#include "support/gauss_legendre.h"

namespace quon {
namespace {

using testing::Always;

// x^3 y^2 + 2x: power terms about 0.5 and 0, degrees 4 and 3.
ProblemModel Polynomial() {
  return testing::FittedModel({{"x", false, 5, -1, 2, 0.5, 0}, {"y", false, 4, 0, 3, 0, 0}},
                              Always([](std::span<const double> p) {
                                return p[0] * p[0] * p[0] * p[1] * p[1] + 2 * p[0];
                              }));
}

// 3 sin 2u - cos 3u with u = x - 1: seven trigonometric terms of period 2 pi about 1.
ProblemModel TrigonometricSum() {
  return testing::FittedModel({{"x", true, 7, 0, 12 * M_PI / 7, 1, 2 * M_PI}},
                              Always([](std::span<const double> p) {
                                return 3 * std::sin(2 * (p[0] - 1)) - std::cos(3 * (p[0] - 1));
                              }));
}

struct DerivativeCase {
  const char* name;
  ProblemModel (*problem)();
  std::vector<std::string> variables;
  std::vector<double> point;
  double expected;
};

class ExactDerivative : public ::testing::TestWithParam<DerivativeCase> {};

TEST_P(ExactDerivative, MatchesTheAnalyticResult) {
  const DerivativeCase& c = GetParam();
  const double value = PartialDerivative(c.problem(), c.variables, c.point);
  EXPECT_NEAR(value, c.expected, 1e-11 * std::max(1.0, std::abs(c.expected)));
}

const double x = 0.7, y = 1.3, u = 2.1 - 1;
const DerivativeCase kDerivatives[] = {
    {"NoOrderIsTheValue", Polynomial, {}, {x, y}, x* x* x* y* y + 2 * x},
    {"FirstInX", Polynomial, {"x"}, {x, y}, 3 * x* x* y* y + 2},
    {"MixedSecond", Polynomial, {"x", "y"}, {x, y}, 6 * x* x* y},
    {"ThirdInX", Polynomial, {"x", "x", "x"}, {x, y}, 6 * y* y},
    {"BeyondTheDegreeIsZero", Polynomial, {"y", "y", "y", "y"}, {x, y}, 0.0},
    {"NameInOtherCaseAndBlanks", Polynomial, {" X"}, {x, y}, 3 * x* x* y* y + 2},
    {"TrigFirst", TrigonometricSum, {"x"}, {2.1}, 6 * std::cos(2 * u) + 3 * std::sin(3 * u)},
    {"TrigSecond", TrigonometricSum, {"x", "x"}, {2.1}, 9 * std::cos(3 * u) - 12 * std::sin(2 * u)},
    {"TrigFifth",
     TrigonometricSum,
     {"x", "x", "x", "x", "x"},
     {2.1},
     96 * std::cos(2 * u) + 243 * std::sin(3 * u)},
};

INSTANTIATE_TEST_SUITE_P(Table, ExactDerivative, ::testing::ValuesIn(kDerivatives),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Integral, ExactOverTheWholeBoxAndASubBox) {
  EXPECT_NEAR(Integral(Polynomial()), 3.75 * 9 + 9, 1e-12 * 42.75);
  EXPECT_NEAR(Integral(Polynomial(), {0, 1}, {1, 2}), 7.0 / 12 + 1, 1e-13);
  // Limits reversed in x change the sign.
  EXPECT_NEAR(Integral(Polynomial(), {1, 1}, {0, 2}), -(7.0 / 12 + 1), 1e-13);
  EXPECT_NEAR(Integral(TrigonometricSum(), {1}, {2}), 1.5 * (1 - std::cos(2.0)) - std::sin(3.0) / 3,
              1e-13);
}

// The Runge function's integral over [-1, 1] is (2 / 5) atan 5; exp's derivatives are exp;
// a box of the Chebyshev problem, mapped intervals and all, integrates in closed form.
TEST(Calculus, ChebyshevSeriesDifferentiateAndIntegrateExactly) {
  const auto fit = [](double (*f)(double), int32_t terms) {
    return testing::FittedModel(
        {{"x", false, terms, -1, 1, 0, 0, true}},
        testing::Always([f](std::span<const double> p) { return f(p[0]); }));
  };
  const ProblemModel runge = fit([](double x) { return 1 / (1 + 25 * x * x); }, 200);
  EXPECT_NEAR(Integral(runge), 0.5493603067780064, 1e-14);
  EXPECT_NEAR(Integral(runge, {0.2}, {-0.3}), -(std::atan(1.0) + std::atan(1.5)) / 5, 1e-14);
  const ProblemModel exp = fit([](double x) { return std::exp(x); }, 20);
  for (const double x : {-1.0, -0.3, 0.0, 0.7, 1.0}) {
    EXPECT_NEAR(PartialDerivative(exp, {"x"}, {x}), std::exp(x), 1e-13) << x;
    // Each derivative costs digits: the third one's rounding grows like N^6 eps.
    EXPECT_NEAR(PartialDerivative(exp, {"x", "x", "x"}, {x}), std::exp(x), 1e-9) << x;
  }
  const ProblemModel box = testing::ChebyshevProblem();
  const double exact =
      (std::exp(0.3 * 1.5) - std::exp(0.0)) / 0.3 * (std::sin(2.0) - std::sin(1.0)) * 2 +
      1.5 * 1 * ((27.0 - 1.0) / 3.0 + 5 * 2);
  EXPECT_NEAR(Integral(box, {0, 1, -3}, {1.5, 2, -1}), exact, 1e-12);
  EXPECT_NEAR(Gradient(box, {0.5, 1, -2})[2], -4, 1e-12);
}

TEST(Gradient, AgreesWithCentralDifferencesOfTheEvaluator) {
  ProblemModel model = testing::MixedProblem();
  const std::vector<double> point = testing::RandomPoints(model, 1, 11);
  const std::vector<double> gradient = Gradient(model, point);
  const auto valueAt = [&](const std::vector<double>& p) { return Evaluate(model, p); };
  for (std::size_t k = 0; k < point.size(); ++k) {
    constexpr double h = 1e-5;
    std::vector<double> up = point, down = point;
    up[k] += h;
    down[k] -= h;
    EXPECT_NEAR(gradient[k], (valueAt(up) - valueAt(down)) / (2 * h), 1e-7) << "variable " << k;
  }
}

TEST(Integral, FirstProblemAgreesWithATensorGaussLegendreQuadrature) {
  ProblemModel model = testing::DefaultProblem();
  std::vector<double> nodes, weights;
  testing::GaussLegendre(6, nodes, weights);  // exact for the degree 9 of each variable
  double sum = 0.0;
  testing::ForEachNode({5, 5, 5, 5}, [&](const testing::NodeIndex& i) {
    double weight = 1.0;
    std::vector<double> x(4);
    for (std::size_t k = 0; k < 4; ++k) {
      const auto n = static_cast<std::size_t>(i[k]);
      x[k] = 5 * nodes[n];  // [-5, 5]
      weight *= 5 * weights[n];
    }
    sum += weight * Evaluate(model, x);
  });
  EXPECT_NEAR(Integral(model), sum, 1e-10 * std::max(1.0, std::abs(sum)));
}

TEST(Calculus, RefusesWhatItCannotCompute) {
  const ProblemModel model = Polynomial();
  EXPECT_THROW(PartialDerivative(model, {"w"}, {x, y}), CalculusError);
  EXPECT_THROW(PartialDerivative(model, {"x"}, {x}), CalculusError);
  EXPECT_THROW(Integral(model, {0}, {1}), CalculusError);
  ProblemModel zeroPeriod = TrigonometricSum();
  zeroPeriod.Period[0] = 0.0;
  EXPECT_THROW(PartialDerivative(zeroPeriod, {"x"}, {1.0}), CalculusError);
  EXPECT_THROW(Integral(zeroPeriod), CalculusError);
}

}  // namespace
}  // namespace quon
