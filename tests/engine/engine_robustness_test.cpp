// Bad input never crashes or hangs the engine: deep nesting is refused with a clear error
// beyond the engine's depth and works below it, huge texts are handled in linear time,
// and odd characters are syntax errors that say where they are.
#include <gtest/gtest.h>

#include <string>

#include "compiler.h"
#include "engine.h"

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

TEST(EngineRobustness, NestingBelowTheLimitWorks) {
  Engine engine;
  const size_t depth = MaxNesting - 10;
  EXPECT_EQ(engine.Eval(Nested(depth, "(", "7", ")")).number, 7.0);
  EXPECT_EQ(engine.Eval(Nested(depth, "-", "7", "")).number, 7.0);  // an even count
  EXPECT_EQ(engine.Eval(Nested(depth / 2, "1+(", "1", ")")).number, depth / 2 + 1.0);
  EXPECT_EQ(engine.Eval(Nested(depth / 2, "Abs(", "-3", ")")).number, 3.0);
  EXPECT_EQ(engine.Eval(Nested(depth, "Not ", "0", "")).number, 0.0);
}

TEST(EngineRobustness, HundredThousandNestedParenthesesAreRefused) {
  Engine engine;
  EXPECT_EQ(FailureNumber(engine, Nested(100000, "(", "1", ")")), 28);
  EXPECT_NE(engine.Error().Description.find("nests"), std::string::npos);
  EXPECT_EQ(FailureNumber(engine, Nested(100000, "(", "", "")), 28);
  EXPECT_EQ(FailureNumber(engine, Nested(100000, "sin(", "1", ")")), 28);
}

TEST(EngineRobustness, HundredThousandSignsAreRefused) {
  Engine engine;
  EXPECT_EQ(FailureNumber(engine, Nested(100000, "-", "1", "")), 28);
  EXPECT_EQ(FailureNumber(engine, Nested(100000, "Not ", "1", "")), 28);
}

TEST(EngineRobustness, MegabyteSumEvaluates) {
  Engine engine;
  std::string text = "1";
  while (text.size() < (1u << 20)) text += "+1";
  const Value value = engine.Eval(text);
  EXPECT_EQ(value.kind, Kind::Long);
  EXPECT_EQ(value.number, static_cast<double>((text.size() + 1) / 2));
}

TEST(EngineRobustness, MegabyteOfOneNameIsRefused) {
  Engine engine;
  EXPECT_EQ(FailureNumber(engine, std::string(1 << 20, 'a')), 1002);
  EXPECT_NE(engine.Error().Description.find("longer than"), std::string::npos);
}

TEST(EngineRobustness, MegabyteTextLiteralEvaluates) {
  Engine engine;
  const std::string text = "\"" + std::string(1 << 20, 'q') + "\"";
  EXPECT_EQ(engine.Eval(text).text.size(), 1u << 20);
}

TEST(EngineRobustness, DescriptionsShowAShortExcerptOfLongTexts) {
  Engine engine;
  EXPECT_EQ(FailureNumber(engine, "1 +" + std::string(100000, ' ') + "* 1"), 1002);
  EXPECT_LT(engine.Error().Description.size(), 200u);
  EXPECT_NE(engine.Error().Description.find("character 100004"), std::string::npos)
      << engine.Error().Description;
  // A literal of a hundred thousand digits is beyond the double range.
  EXPECT_EQ(FailureNumber(engine, std::string(100000, '1') + ".5"), 1002);
  EXPECT_LT(engine.Error().Description.size(), 200u);
}

TEST(EngineRobustness, EveryByteAloneFailsOrEvaluatesCleanly) {
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
}

TEST(EngineRobustness, UnbalancedParentheses) {
  Engine engine;
  for (const char* text : {"(", ")", "((1)", "(1))", "sin(", "sin)", "sin(1,", "(,)", "()"}) {
    EXPECT_EQ(FailureNumber(engine, text), 1002) << text;
  }
}

}  // namespace
}  // namespace quon::script
