// Tables of expressions for the engine's tests: a row evaluates one expression in a fresh
// engine and compares its kind and text (the value as the language writes it), or the
// number it fails with. Each suite declares its own TEST_P over these rows.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"

namespace quon::test {

struct ValueCase {
  const char* name;
  const char* expression;
  script::Kind kind;
  const char* text;
};

struct FailureCase {
  const char* name;
  const char* expression;
  script::ErrNum number;
};

inline void ExpectValue(const ValueCase& c) {
  script::Engine engine;
  const script::Value value = engine.Eval(c.expression);
  EXPECT_EQ(script::TypeName(value.kind), script::TypeName(c.kind)) << c.expression;
  EXPECT_EQ(value.text, c.text) << c.expression;
}

inline void ExpectFailure(const FailureCase& c) {
  script::Engine engine;
  try {
    engine.Eval(c.expression);
    ADD_FAILURE() << c.expression << " did not fail";
  } catch (const script::ScriptError& error) {
    EXPECT_EQ(error.Number, static_cast<int32_t>(c.number)) << c.expression << ": " << error.what();
    EXPECT_EQ(engine.Error().Number, error.Number);
    EXPECT_FALSE(engine.Error().Description.empty());
  }
}

// Names each row of a table after its `name`.
struct RowName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

}  // namespace quon::test
