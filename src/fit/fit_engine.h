// What the fit asks of the script engine: give a variable its value by a statement, and
// the function's value at the point the engine holds. The program's engine stands behind
// it (script_fit_engine.h); tests put a recording engine in its place.
#pragma once

#include <cstdint>
#include <string_view>

namespace quon {

class FitEngine {
 public:
  virtual ~FitEngine() = default;

  // Runs one statement such as "x= .5". Throws ScriptFailure.
  virtual void ExecuteStatement(std::string_view statement) = 0;

  // The function's value under the current globals. Throws ScriptFailure.
  virtual double fna() = 0;

  // The fit's error trap stores every number it catches here (the window's LastErrorNumber).
  virtual void RecordError(int32_t number) = 0;
};

}  // namespace quon
