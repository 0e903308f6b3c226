// The real code of an expression run over a block of points at a time: the form for
// callers that evaluate one text at many points (sampling a grid, checking, plotting).
// Each operation runs once over the whole block in a tight loop over arrays, so the
// interpreter's dispatch is paid once per block instead of once per point. Operands that
// do not change from point to point (constants, variables the caller does not vary) stay
// single numbers, and an operation on two of them is done once for the block.
//
// Every value is computed by the functions of real_arithmetic.h in the real code's order,
// so a point's result is bit for bit the one the real code gives it; a point where the
// real code would see a result that is not finite is marked, and the caller evaluates it
// on its per-point path, which raises the language's error. Cost per block: the real
// code's operations times the block's points, plus one pass to translate the code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "engine/globals.h"
#include "engine/program.h"

namespace quon::script {

// Points per block: the registers of a long expression stay in the first-level cache.
constexpr std::size_t kBulkBlock = 256;

// A variable that changes from point to point: its slot and its value at each point.
struct BulkColumn {
  uint32_t slot = 0;
  const double* values = nullptr;
};

// Working storage of one thread's blocks.
class BulkRunner {
 public:
  // Runs `program` at `count` points (at most kBulkBlock): at point i each column's slot
  // holds Double(values[i]), every other slot its value in `globals`. False when the block
  // has no bulk form (a text without real code or one that is not pure, a variable read
  // that is not a column and holds no Double, or a call of an object's function without a
  // form over blocks): the caller then evaluates every point on its per-point path. Otherwise
  // results[i] is point i's value, except where pointPath[i] is set: the real code fails there and
  // the caller evaluates that point itself.
  bool Run(const Program& program, const Globals& globals, std::span<const BulkColumn> columns,
           std::size_t count, double* results, bool* pointPath);

  // One operation of the block's code: a kernel over its operands, each an array (a, b)
  // or, where that is null, a number (na, nb); the results go to `out`.
  struct Step {
    // Returns whether it marked any point in `checks`.
    bool (*kernel)(const Step& step, double* checks, std::size_t count) = nullptr;
    const double* a = nullptr;
    const double* b = nullptr;
    double na = 0.0;
    double nb = 0.0;
    double* out = nullptr;
    const RealCall* call = nullptr;      // a call: the function
    const Variant* variables = nullptr;  // and its object's variables
    int columnA = -1;                    // a and b: the index of the column they read, if any
    int columnB = -1;
  };

 private:
  bool Translate(const Program& program, const Globals& globals,
                 std::span<const BulkColumn> columns);
  // The translation of the last block serves the next one (its columns rebound) when the
  // program, the store, the columns' slots and every other variable read are the same.
  // A text with calls is translated afresh: its objects' variables may change.
  bool Reusable(const Program& program, const Globals& globals,
                std::span<const BulkColumn> columns) const;
  void Remember(const Program& program, const Globals& globals,
                std::span<const BulkColumn> columns);
  void Rebind(std::span<const BulkColumn> columns);

  std::vector<Step> steps_;
  std::vector<double> registers_;  // one array of kBulkBlock per place of the stack
  std::vector<double> checks_;     // per point: 0 while every checked result was finite
  std::vector<double> scalarStack_;
  std::vector<const double*> columnStack_;  // per place: its array, or null for a number
  bool scalarFailed_ = false;
  const double* result_ = nullptr;
  int resultColumn_ = -1;
  double scalarResult_ = 0.0;
  bool translated_ = false;  // the last translation gave a bulk form

  const Program* program_ = nullptr;  // what the last translation was made for
  std::vector<RealInstr> code_;
  std::vector<double> constants_;
  const Variant* store_ = nullptr;
  std::size_t storeSize_ = 0;
  std::vector<uint32_t> columnSlots_;
  std::vector<std::pair<uint32_t, uint64_t>> fixedReads_;  // slot, bits of its Double
};

}  // namespace quon::script
