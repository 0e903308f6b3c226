// The bulk form agrees with the per-point run bit for bit: on a block of points over x
// and y (c a fixed Double), every point the bulk form answers has the value the real code
// and the full code give it, and a point is handed back to the per-point path exactly where the
// real code would fail there; that path (the real code, then the full code) fails as the
// full code does. The grid holds the edges of every failure: zeros of both signs,
// negatives, and values whose powers and exponentials overflow; x comes in runs of equal
// values (which a function of the C library or of an object is called once for), y not.
// A runner used again reads the new columns, and translates afresh when c changes.
#include "engine/bulk_code.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <vector>

#include "engine/engine.h"
#include "engine/script_environment.h"
#include "engine/vm.h"
#include "support/engine_cases.h"

namespace quon::script {
namespace {

struct BulkCase {
  const char* name;
  const char* expression;
  bool bulk;                 // whether the block takes the bulk form at all
  const char* second = "y";  // the other variable that varies
};

const BulkCase kBulkCases[] = {
    {"DefaultFunction", "x^2*sin(y)+4*cos(c)-y", true},
    {"EveryBinaryOperator", "-x + y - x * y / (c + 1) ^ 1.5 - x ^ y", true},
    {"ConstantOnTheLeft", "4 * x - 2 / y + 3 - x + 2 ^ y", true},
    {"FixedVariablesDoneOnceForTheBlock", "c * c + x / (c - 0.5) + sin(c) * y", true},
    {"TrigonometricFunctions", "sin(x) + cos(y) + atn(x) + tan(y)", true},
    {"RoundingFunctions", "abs(x) + fix(y) - int(x) + abs(-y)", true},
    {"SquareOfAVariableAndOfAResult", "x^2 + (x - y)^2 + c^2", true},
    {"OverflowOfExp", "exp(x * 300)", true},
    {"OverflowOfPower", "x ^ y * 1e300", true},
    {"DivisionByZero", "1 / x", true},
    {"ZeroByZero", "x / y", true},
    {"InfinityThatTurnsFinite", "1 / (1 / x) + atn(exp(y * 1000))", true},
    {"LogOfNegative", "log(x) + y", true},
    {"SqrOfNegative", "sqr(y) - x", true},
    {"OverflowOfAddition", "x * 1e308 + y * 1e308", true},
    {"FoldedSquareAndNegation", "3^2 + -x^2 + -y + 1/2", true},
    {"OverflowThatVanishesStillFails", "1/(x*1e308*10)", true},
    {"FractionalPowerOfNegativeBase", "x^(1/3) + y^1.5", true},
    {"ExtraFunctions", "Tanh(x) * Asinh(y) - Sinh(x / 4) + Asin(c / 5)", true},
    {"ExtraFunctionsOutsideTheirDomain", "Acosh(y) + Atanh(x / 2) + Cosh(y)", true},
    {"InverseSinesAtAndBeyondTheirEnds", "Asin(x) - Acos(y) * Acos(x / 2)", true},
    {"CallOfAFixedOperand", "Tanh(c) * x + Sinh(c + 1)", true},
    // The math object's Asin(1) reads its variable halfpi, which must then not vary.
    {"ObjectVariableVariesUnderACall", "Asin(1) * x + halfpi", false, "halfpi"},
    {"FixedOperandsFailForEveryPoint", "exp(c * 1000) + x", false},
    {"TextWithoutRealCode", "x \\ 1 + y", false},
    {"ComparisonHasNoRealForm", "(x < y) + x", false},
};

class BulkAgreesWithPointRuns : public testing::TestWithParam<BulkCase> {};

TEST_P(BulkAgreesWithPointRuns, ValuesAndFailures) {
  const BulkCase& c = GetParam();
  ScriptEnvironment host;
  host.ExecuteStatement("x = 0.5 : y = 0.5 : c = 2.5");
  Engine& engine = host.Engine();
  const auto program = engine.CompileExpression(c.expression);
  const uint32_t sx = *engine.names().FindVariable("x");
  const uint32_t sy = *engine.names().FindVariable(c.second);
  Globals& globals = engine.globals();

  const double edges[] = {-2.0, -1.0, -0.0, 0.0,   DBL_MIN, 0.5,   1.0,
                          1.5,  2.5,  3.0,  700.0, -745.0,  1e154, 1e308};
  std::vector<double> xs;
  std::vector<double> ys;
  for (const double x : edges) {
    for (const double y : edges) {
      xs.push_back(x);
      ys.push_back(y);
    }
  }
  const std::size_t count = xs.size();
  ASSERT_LE(count, kBulkBlock);
  const BulkColumn columns[] = {{sx, xs.data()}, {sy, ys.data()}};
  std::vector<double> results(count);
  std::unique_ptr<bool[]> pointPath(new bool[count]);
  BulkRunner bulk;
  ASSERT_EQ(bulk.Run(*program, globals, columns, count, results.data(), pointPath.get()), c.bulk);
  if (!c.bulk) return;

  Runner runner;
  std::vector<double> stack(program->real.maxStack + 1);
  for (std::size_t i = 0; i < count; ++i) {
    globals.data()[sx] = Variant::Double(xs[i]);
    globals.data()[sy] = Variant::Double(ys[i]);
    double real = 0.0;
    const bool realSucceeds = RunRealCode(program->real, globals.data(), stack.data(), real);
    SCOPED_TRACE(testing::Message() << "x=" << xs[i] << " y=" << ys[i]);
    ASSERT_EQ(pointPath[i], !realSucceeds);
    const ErrNum full = script::Run(*program, globals, runner, RunMode::FullCodeOnly);
    // The per-point path a handed-back point takes fails as the full code does.
    Runner fastest;
    ASSERT_EQ(script::Run(*program, globals, fastest, RunMode::Fastest), full);
    if (pointPath[i]) continue;
    ASSERT_EQ(full, ErrNum::None);
    EXPECT_EQ(std::bit_cast<uint64_t>(results[i]),
              std::bit_cast<uint64_t>(runner.result().number()));
  }

  // The same runner on the points in reverse, from other arrays: the block's code, kept
  // from the first run, reads the new columns.
  const std::vector<double> xr(xs.rbegin(), xs.rend()), yr(ys.rbegin(), ys.rend());
  const BulkColumn reversed[] = {{sx, xr.data()}, {sy, yr.data()}};
  std::vector<double> again(count);
  std::unique_ptr<bool[]> againPath(new bool[count]);
  ASSERT_TRUE(bulk.Run(*program, globals, reversed, count, again.data(), againPath.get()));
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t j = count - 1 - i;
    ASSERT_EQ(againPath[i], pointPath[j]);
    EXPECT_TRUE(pointPath[j] ||
                std::bit_cast<uint64_t>(again[i]) == std::bit_cast<uint64_t>(results[j]));
  }
  // A variable read as a number changes: the runner translates afresh, as a new one does.
  globals.data()[*engine.names().FindVariable("c")] = Variant::Double(3.75);
  BulkRunner fresh;
  std::vector<double> expected(count);
  ASSERT_TRUE(fresh.Run(*program, globals, columns, count, expected.data(), pointPath.get()));
  ASSERT_TRUE(bulk.Run(*program, globals, columns, count, again.data(), againPath.get()));
  for (std::size_t i = 0; i < count; ++i) {
    ASSERT_EQ(againPath[i], pointPath[i]);
    EXPECT_TRUE(pointPath[i] ||
                std::bit_cast<uint64_t>(again[i]) == std::bit_cast<uint64_t>(expected[i]));
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, BulkAgreesWithPointRuns, testing::ValuesIn(kBulkCases),
                         test::RowName());

}  // namespace
}  // namespace quon::script
