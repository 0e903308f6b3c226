// Runs a compiled program against a globals store: a loop over the flat code with a
// value stack, no name lookups and no allocation once the runner's stack and scratch
// have grown to the program's needs. Numeric operations on Doubles take an inline path;
// everything else goes through the operator and built-in functions. The first failing
// operation ends the run with its error number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/builtins_random.h"
#include "engine/err_num.h"
#include "engine/globals.h"
#include "engine/operators.h"
#include "engine/program.h"
#include "engine/variant.h"

namespace quon::script {

// Whether a run may take the expression's real form (the full code alone serves tests
// that compare the two).
enum class RunMode { Fastest, FullCodeOnly };

// Working storage of one thread's runs.
class Runner {
 public:
  // The value an expression left; a String refers to the scratch or the globals, valid
  // until the next run.
  const Variant& result() const { return result_; }
  // After a failed run: the name the failure concerns, or empty.
  const std::string& failedName() const { return *failedName_; }

 private:
  friend ErrNum Run(const Program& program, Globals& globals, Runner& runner, RunMode mode);
  friend ErrNum RunProgram(const Program& program, Globals& globals, Runner& runner, RunMode mode);

  std::vector<Variant> stack_;
  std::vector<double> reals_;  // the stack of the real code
  StringScratch scratch_;
  RandomGenerator random_;  // Rnd's sequence runs on from one run to the next
  Variant result_;
  const std::string* failedName_ = &kNoName;
  static const std::string kNoName;
};

// Runs `program`; grows `globals` to the slots the program needs. Memory running out is
// ErrNum::OutOfMemory (7), like any other failure of the run.
ErrNum Run(const Program& program, Globals& globals, Runner& runner,
           RunMode mode = RunMode::Fastest);

// The description of a failed run: the message of the number, with the name it concerns.
std::string RunErrorDescription(ErrNum number, const Runner& runner);

}  // namespace quon::script
