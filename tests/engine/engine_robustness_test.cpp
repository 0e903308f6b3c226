// Bad input never crashes or hangs the engine: deep nesting is refused with a clear error
// beyond the engine's depth and works below it, huge texts are handled in linear time,
// and odd characters are syntax errors that say where they are.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>

#include "engine/compiler.h"
#include "engine/engine.h"

namespace quon::script {
namespace {

int32_t FailureNumber(Engine& engine, const std::string& expression) {
  try {
    engine.Eval(expression);
  } catch (const ScriptError& error) {
    return error.Number;
  }
  return 0;
}

std::string Nested(size_t depth, const std::string& open, const std::string& inner,
                   const std::string& close) {
  std::string text;
  for (size_t i = 0; i < depth; ++i) text += open;
  text += inner;
  for (size_t i = 0; i < depth; ++i) text += close;
  return text;
}

TEST(EngineRobustness, NestingBelowTheLimitWorksAndHundredThousandNestingsAreRefused) {
  Engine engine;
  const size_t depth = MaxNesting - 10;
  EXPECT_EQ(engine.Eval(Nested(depth, "(", "7", ")")).number, 7.0);
  EXPECT_EQ(engine.Eval(Nested(depth, "-", "7", "")).number, 7.0);  // an even count
  EXPECT_EQ(engine.Eval(Nested(depth / 2, "1+(", "1", ")")).number, depth / 2 + 1.0);
  EXPECT_EQ(engine.Eval(Nested(depth / 2, "Abs(", "-3", ")")).number, 3.0);
  EXPECT_EQ(engine.Eval(Nested(depth, "Not ", "0", "")).number, 0.0);
  for (const std::string& text : {Nested(100000, "(", "1", ")"), Nested(100000, "(", "", ""),
                                  Nested(100000, "sin(", "1", ")"), Nested(100000, "-", "1", ""),
                                  Nested(100000, "Not ", "1", "")}) {
    EXPECT_EQ(FailureNumber(engine, text), 28) << text.substr(0, 8);
    EXPECT_NE(engine.Error().Description.find("nests"), std::string::npos) << text.substr(0, 8);
  }
}

// A megabyte sum and a megabyte text literal evaluate; a megabyte name is refused. The
// descriptions of failing long texts show only a short excerpt.
TEST(EngineRobustness, MegabyteTextsAndShortExcerptsInDescriptions) {
  Engine engine;
  std::string sum = "1";
  while (sum.size() < (1u << 20)) sum += "+1";
  const Value value = engine.Eval(sum);
  EXPECT_EQ(value.kind, Kind::Long);
  EXPECT_EQ(value.number, static_cast<double>((sum.size() + 1) / 2));
  EXPECT_EQ(engine.Eval("\"" + std::string(1 << 20, 'q') + "\"").text.size(), 1u << 20);
  EXPECT_EQ(FailureNumber(engine, std::string(1 << 20, 'a')), 1002);
  EXPECT_NE(engine.Error().Description.find("longer than"), std::string::npos);
  EXPECT_EQ(FailureNumber(engine, "1 +" + std::string(100000, ' ') + "* 1"), 1002);
  EXPECT_LT(engine.Error().Description.size(), 200u);
  EXPECT_NE(engine.Error().Description.find("character 100004"), std::string::npos)
      << engine.Error().Description;
  // A literal of a hundred thousand digits is beyond the double range.
  EXPECT_EQ(FailureNumber(engine, std::string(100000, '1') + ".5"), 1002);
  EXPECT_LT(engine.Error().Description.size(), 200u);
}

// In a child process: 0 when `sequential` gives its value and `together` fails as error 7
// within 768 MB of address space.
int RunWithinLimit(const std::string& sequential, const std::string& together) {
  const rlimit limit{size_t{768} << 20, size_t{768} << 20};
  ::setrlimit(RLIMIT_AS, &limit);
  Engine engine;
  const bool fits = engine.Eval(sequential).number == 250.0 * 16777216;
  return fits && FailureNumber(engine, together) == 7 ? 0 : 1;
}

// Texts are freed as soon as they are consumed, so memory follows the texts alive at once:
// 250 texts of 16 MB one after the other fit in 768 MB of address space (the end of the
// run used to hold all of them, 4 GB), and 64 of them alive at once fail as error 7. Run
// in a child whose address space is limited; a sanitizer needs far more for itself.
TEST(EngineRobustnessDeathTest, TextsLiveOnlyWhileUsedAndMemoryRunningOutIsError7) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizer needs more address space than the limit for itself";
#endif
  std::string sequential = "Len(Space(16777216))";
  for (int i = 1; i < 250; ++i) sequential += "+Len(Space(16777216))";
  const std::string together = Nested(64, "Space(16777216)=(", "1", ")");
  EXPECT_EXIT(std::exit(RunWithinLimit(sequential, together)), ::testing::ExitedWithCode(0), "");
}

TEST(EngineRobustness, EveryByteAloneAndUnbalancedParenthesesFailCleanly) {
  Engine engine;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text = "1 " + std::string(1, static_cast<char>(byte)) + " 2";
    const int32_t number = FailureNumber(engine, text);
    if (number != 0) {
      EXPECT_FALSE(engine.Error().Description.empty()) << byte;
    }
    if (number == 1002) {
      // The description names the position; no control character leaks into it.
      for (char c : engine.Error().Description) {
        EXPECT_GE(static_cast<unsigned char>(c), 0x20) << byte;
      }
    }
  }
  for (const char* text : {"(", ")", "((1)", "(1))", "sin(", "sin)", "sin(1,", "(,)", "()"}) {
    EXPECT_EQ(FailureNumber(engine, text), 1002) << text;
  }
}

}  // namespace
}  // namespace quon::script
