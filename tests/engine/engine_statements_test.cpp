// Statements and the engine's state: globals that persist, names in any case, published
// objects and their variables, the error event's order, the "name = number" fast path
// against the full path, and copies of the globals that run on other threads.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/compiler.h"
#include "engine/engine.h"

namespace quon::script {
namespace {

// A test object: a Double variable "scale", a Long "calls", and Twice(x) = 2 * scale * x
// that counts its calls in "calls".
class Doubler : public NamedObject {
 public:
  std::span<const Member> Members() const override { return kMembers; }
  Variant InitialValue(uint32_t member) const override {
    return member == 0 ? Variant::Double(1.0) : Variant::Long(0);
  }
  ErrNum Call(uint32_t, std::span<const Variant> arguments, Variant* variables,
              Variant& result) const override {
    double x = 0.0;
    if (ErrNum err = ToDoubleChecked(arguments[0], x); err != ErrNum::None) return err;
    variables[1] = Variant::Long(variables[1].integer() + 1);
    result = Variant::Double(2.0 * variables[0].number() * x);
    return ErrNum::None;
  }

 private:
  static ErrNum ToDoubleChecked(const Variant& v, double& x) {
    if (!v.IsNumeric()) return ErrNum::TypeMismatch;
    x = v.number();
    return ErrNum::None;
  }
  static constexpr std::array<Member, 3> kMembers = {
      Member{"scale", false, 0, VariableType::Double},
      Member{"calls", false, 0, VariableType::Long},
      Member{"Twice", true, 1, VariableType::Variant},
  };
};

double Number(Engine& engine, std::string_view expression) {
  return engine.Eval(expression).number;
}

// Statements run in order on globals that persist; then an expression reads them.
struct StatementsCase {
  const char* name;
  std::vector<const char*> statements;
  const char* expression;
  const char* text;
};

class Statements : public testing::TestWithParam<StatementsCase> {};

TEST_P(Statements, LeaveTheirValues) {
  Engine engine;
  for (const char* statement : GetParam().statements) engine.ExecuteStatement(statement);
  engine.Eval("\"other\" & \"texts\"");  // reuses the scratch of the runs before
  EXPECT_EQ(engine.Eval(GetParam().expression).text, GetParam().text);
}

const StatementsCase kStatementsCases[] = {
    {"GlobalsPersistAcrossCalls", {"a = 2", "b = a * 3", "a = 10"}, "a + b", "16"},
    {"NamesIgnoreCase", {"Alpha = 2", "aLPHA = 3"}, "ALPHA * alpha", "9"},
    {"SeveralStatementsRunInOrder", {"a = 1 : b = a + 1\nc = b * 10"}, "c", "20"},
    {"TextValuesArePersistedByCopy", {"s = \"ab\" & \"cd\"", "s = s & s"}, "s", "abcdabcd"},
    {"CommentsAndEmptyStatementsDoNothing", {"", "rem = 3", "' a = 3", "a = 1 ' a = 3"}, "a", "1"},
    {"OnlyTheWholeWordRemStartsAComment", {"rem = 3"}, "TypeName(rem1)", "Empty"},
};

INSTANTIATE_TEST_SUITE_P(Statements, Statements, testing::ValuesIn(kStatementsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A published object's members become global names in any case, and its variables keep
// their kinds when assigned.
TEST(EngineStatements, ObjectMembersBecomeGlobalNamesAndKeepTheirKinds) {
  Engine engine;
  engine.AddObject("d", std::make_shared<Doubler>(), true);
  EXPECT_EQ(Number(engine, "Twice(3)"), 6.0);
  engine.ExecuteStatement("scale = 5");  // sets the object's variable: an Integer made Double
  EXPECT_EQ(engine.Eval("scale").kind, Kind::Double);
  EXPECT_EQ(Number(engine, "twice(3)"), 30.0);
  EXPECT_EQ(Number(engine, "CALLS"), 2.0);
  EXPECT_EQ(Number(engine, "d.Twice(1) + d.scale"), 15.0);
  engine.ExecuteStatement("calls = 2.5");
  const Value calls = engine.Eval("calls");
  EXPECT_EQ(calls.kind, Kind::Long);
  EXPECT_EQ(calls.number, 2.0);
  EXPECT_THROW(engine.ExecuteStatement("scale = \"abc\""), ScriptError);
  EXPECT_EQ(engine.Error().Number, 13);
  EXPECT_EQ(Number(engine, "scale"), 5.0);
}

TEST(EngineStatements, ObjectWithoutGlobalMembersIsReachedByItsName) {
  Engine engine;
  engine.AddObject("d", std::make_shared<Doubler>(), false);
  EXPECT_EQ(Number(engine, "d.twice(2)"), 4.0);
  engine.ExecuteStatement("d.scale = 3");
  EXPECT_EQ(Number(engine, "d.Twice(1)"), 6.0);
  EXPECT_EQ(engine.Eval("twice").kind, Kind::Empty);  // a fresh variable, not the function
  EXPECT_THROW(engine.Eval("d.nothing2 + 1"), ScriptError);
  EXPECT_EQ(engine.Error().Number, static_cast<int32_t>(ErrNum::NoSuchMember));
}

TEST(EngineStatements, ObjectNamesMustBeFree) {
  Engine engine;
  engine.ExecuteStatement("scale = 1");
  EXPECT_THROW(engine.AddObject("d", std::make_shared<Doubler>(), true), ScriptError);
  EXPECT_EQ(engine.Error().Number, static_cast<int32_t>(ErrNum::NameRedefined));
}

TEST(EngineStatements, ErrorEventRunsBeforeTheCallFails) {
  Engine engine;
  std::vector<std::string> events;
  engine.SetErrorHandler([&] {
    events.push_back(std::to_string(engine.Error().Number) + " " + engine.Error().Description);
  });
  try {
    engine.Eval("1/0");
    FAIL() << "no failure";
  } catch (const ScriptError& error) {
    ASSERT_EQ(events.size(), 1u);  // already recorded when the call fails
    EXPECT_EQ(events[0], "11 Division by zero");
    EXPECT_EQ(error.Number, 11);
  }
  EXPECT_THROW(engine.ExecuteStatement("x = "), ScriptError);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].substr(0, 4), "1002");
  engine.Eval("1");
  EXPECT_EQ(events.size(), 2u);  // success raises nothing
}

// A statement that fails leaves the variable as it was.
TEST(EngineStatements, FailingStatementsLeaveTheVariable) {
  Engine engine;
  engine.ExecuteStatement("x = 1");
  const auto expectFailure = [&](const char* statement, ErrNum number) {
    EXPECT_THROW(engine.ExecuteStatement(statement), ScriptError) << statement;
    EXPECT_EQ(engine.Error().Number, static_cast<int32_t>(number)) << statement;
    EXPECT_EQ(Number(engine, "x"), 1.0) << statement;
  };
  // Statements that are no assignments, then numbers that the fast path for
  // "name = number" must refuse as the full path does.
  for (const char* statement : {"x", "3 = x", "x + 1", "x(1) = 2", "= 3", "If = 2", "x= 1e999",
                                "x= 1.2.3", "x= 1e", "x= 2x", "x= -"}) {
    expectFailure(statement, ErrNum::SyntaxError);
  }
  expectFailure("Sin = 2", ErrNum::IllegalAssignment);
  expectFailure("x = 1/0", ErrNum::DivisionByZero);
}

// The fast path for "name = number" must give exactly what the full path gives: the
// same kind and the same bits. Parentheses force the full path.
struct AssignmentCase {
  const char* name;
  const char* number;
};

class FastAssignment : public testing::TestWithParam<AssignmentCase> {};

TEST_P(FastAssignment, MatchesFullPath) {
  Engine engine;
  engine.ExecuteStatement("fast = 0 : full = 0");
  const std::string number = GetParam().number;
  engine.ExecuteStatement("fast=" + number);
  engine.ExecuteStatement("full=(" + number + ")");
  const Value fast = engine.Eval("fast");
  const Value full = engine.Eval("full");
  EXPECT_EQ(TypeName(fast.kind), TypeName(full.kind));
  EXPECT_EQ(std::memcmp(&fast.number, &full.number, sizeof(double)), 0)
      << fast.number << " vs " << full.number;
}

const AssignmentCase kAssignmentCases[] = {
    {"PrintFormHalf", " .5"},
    {"NegativeReal", "-1.25"},
    {"LargeExponent", " 1.5E+20"},
    {"WholeIsInteger", " 1"},
    {"NegativeWholeIsInteger", "-7"},
    {"WholeBeyondIntegerIsLong", " 40000"},
    {"NegativeIntegerLimitIsLong", "-32768"},
    {"WholeBeyondLongIsDouble", " 3000000000"},
    {"NegativeZeroWholeIsInteger", "-0"},
    {"NegativeZeroReal", "-0.0"},
    {"FifteenDigits", " 123456789.012345"},
    {"TrailingPoint", " 2."},
    {"BlanksAroundSign", " -  3.5 "},
};

INSTANTIATE_TEST_SUITE_P(Statements, FastAssignment, testing::ValuesIn(kAssignmentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineStatements, CompiledExpressionRunsOnCopiesOfGlobalsInThreads) {
  Engine engine;
  engine.AddObject("d", std::make_shared<Doubler>(), true);
  engine.ExecuteStatement("x = 0");
  const auto program = engine.CompileExpression("Twice(x) + x^2");
  std::vector<double> results(4);
  std::vector<int32_t> calls(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      Globals globals = engine.globals();  // each thread its own copy
      Runner runner;
      const uint32_t x = *engine.names().FindVariable("x");
      double sum = 0.0;
      for (int i = 0; i < 1000; ++i) {
        globals.Assign(x, Variant::Double(t + i * 1e-3));
        EXPECT_EQ(script::Run(*program, globals, runner), ErrNum::None);
        sum += runner.result().number();
      }
      results[t] = sum;
      calls[t] = globals[*engine.names().FindVariable("calls")].integer();
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) {
    double expected = 0.0;
    for (int i = 0; i < 1000; ++i) {
      const double x = t + i * 1e-3;
      expected += 2.0 * x + x * x;
    }
    EXPECT_DOUBLE_EQ(results[t], expected);
    EXPECT_EQ(calls[t], 1000);  // each copy counted its own calls
  }
  EXPECT_EQ(Number(engine, "calls"), 0.0);
}

TEST(EngineStatements, CachedTextsSeeCurrentValuesAndKinds) {
  Engine engine;
  EXPECT_EQ(engine.Eval("a + 1").number, 1.0);
  engine.ExecuteStatement("a = 2");
  EXPECT_EQ(engine.Eval("b").kind, Kind::Empty);  // another text in between
  EXPECT_EQ(engine.Eval("a + 1").number, 3.0);
  const std::string longText = "a" + std::string(20000, ' ') + "+ 4";
  EXPECT_EQ(engine.Eval(longText).number, 6.0);
  engine.ExecuteStatement("a = 3");
  EXPECT_EQ(engine.Eval("a + 1").number, 4.0);
  EXPECT_EQ(engine.Eval(longText).number, 7.0);
  engine.ExecuteStatement("x = 3");  // an Integer
  EXPECT_EQ(engine.Eval("x * 2.5").number, 7.5);
  engine.ExecuteStatement("x = \"3\"");  // now a text: the same text takes the full code
  EXPECT_EQ(engine.Eval("x * 2.5").number, 7.5);
}

// A text is pure unless it assigns or draws from the random sequence.
TEST(EngineStatements, ExpressionsArePureUnlessTheyDraw) {
  NameTable names;
  EXPECT_TRUE(Compile("Sin(x) * \"2\" & Len(y)", CompileMode::Expression, names)->pure);
  EXPECT_FALSE(Compile("x + Rnd", CompileMode::Expression, names)->pure);
  EXPECT_FALSE(Compile("x = Sin(x)", CompileMode::Statements, names)->pure);
}

TEST(EngineStatements, NoRealFormWhereKindsMatter) {
  Engine engine;
  for (const char* expression : {"1 + 2 + x", "x > 1", "x \\ 2", "CInt(x)", "x & 1", "Round(x)",
                                 "Asin(x)", "Int(2) + x", "\"1\" + x"}) {
    EXPECT_TRUE(engine.CompileExpression(expression)->real.code.empty()) << expression;
  }
}

}  // namespace
}  // namespace quon::script
