#include "engine/bulk_code.h"

#include <algorithm>
#include <array>
#include <limits>

#include "engine/real_arithmetic.h"

namespace quon::script {
namespace {

using Step = BulkRunner::Step;
using Kernel = void (*)(const Step& step, double* checks, std::size_t count);

// The loops over a block. A checked operation adds r - r to the point's sum, which stays 0
// while its results are finite, exactly as the real code's single sum does.
template <double (*F)(double, double)>
void BinaryArrays(const Step& s, double* checks, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(s.a[i], s.b[i]);
    s.out[i] = r;
    checks[i] += r - r;
  }
}

template <double (*F)(double, double)>
void BinaryArrayNumber(const Step& s, double* checks, std::size_t count) {
  const double b = s.nb;
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(s.a[i], b);
    s.out[i] = r;
    checks[i] += r - r;
  }
}

template <double (*F)(double, double)>
void BinaryNumberArray(const Step& s, double* checks, std::size_t count) {
  const double a = s.na;
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(a, s.b[i]);
    s.out[i] = r;
    checks[i] += r - r;
  }
}

template <double (*F)(double), bool Checked>
void UnaryArray(const Step& s, double* checks, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(s.a[i]);
    s.out[i] = r;
    if constexpr (Checked) checks[i] += r - r;
  }
}

// A call that declines marks its point, which the per-point path then evaluates.
void CallArray(const Step& s, double* checks, std::size_t count) {
  const RealCall& call = *s.call;
  for (std::size_t i = 0; i < count; ++i) {
    double r = 0.0;
    if (!call.function(call.member, s.a[i], s.variables, r)) {
      checks[i] += std::numeric_limits<double>::quiet_NaN();
    }
    s.out[i] = r;
  }
}

// What the block's code needs of one real operation: its function, whether its result is
// checked, and its loops (by operands: two arrays, array and number, number and array).
struct OpForm {
  double (*binary)(double, double) = nullptr;
  double (*unary)(double) = nullptr;
  bool checked = false;
  std::array<Kernel, 3> kernels{};
};

template <double (*F)(double, double)>
constexpr OpForm Binary() {
  return {F, nullptr, true, {BinaryArrays<F>, BinaryArrayNumber<F>, BinaryNumberArray<F>}};
}
template <double (*F)(double), bool Checked>
constexpr OpForm Unary() {
  return {nullptr, F, Checked, {UnaryArray<F, Checked>, nullptr, nullptr}};
}

// In the order of RealOp up to Int (a call has a loop of its own); the checked operations
// are those the real code checks.
constexpr OpForm kForms[] = {
    {},  // Push
    Unary<real::Negate, false>(),
    Binary<real::Add>(),
    Binary<real::Sub>(),
    Binary<real::Mul>(),
    Binary<real::Div>(),
    Binary<real::Pow>(),
    Unary<real::Square, true>(),
    Unary<real::Sin, false>(),
    Unary<real::Cos, false>(),
    Unary<real::Atn, false>(),
    Unary<real::Exp, true>(),
    Unary<real::Log, true>(),
    Unary<real::Sqr, true>(),
    Unary<real::Tan, false>(),
    Unary<real::Abs, false>(),
    Unary<real::Fix, false>(),
    Unary<real::Int, false>(),
};
static_assert(std::size(kForms) == static_cast<std::size_t>(RealOp::Int) + 1);

}  // namespace

// Turns the real code into steps by following its stack: a place holds an array (a
// register, or a column the caller gave) or a number; an operation on numbers alone is
// done here, once for the block.
bool BulkRunner::Translate(const Program& program, const Globals& globals,
                           std::span<const BulkColumn> columns) {
  const RealCode& real = program.real;
  const auto columnOf = [&](uint32_t slot) -> const double* {
    for (const BulkColumn& column : columns) {
      if (column.slot == slot) return column.values;
    }
    return nullptr;
  };
  for (const uint32_t slot : real.reads) {
    if (columnOf(slot) == nullptr && (slot >= globals.size() || !globals[slot].Is(Kind::Double))) {
      return false;
    }
  }
  if (globals.size() < program.slotCount) return false;
  const std::size_t places = real.maxStack + 1;
  registers_.resize(places * kBulkBlock);
  scalarStack_.assign(places, 0.0);
  columnStack_.assign(places, nullptr);
  steps_.clear();
  scalarFailed_ = false;

  std::size_t depth = 0;  // places in use
  for (const RealInstr& in : real.code) {
    const auto op = static_cast<RealOp>(in.code / 3);
    const auto src = static_cast<RealSrc>(in.code % 3);
    const double* array = nullptr;
    double number = 0.0;
    switch (src) {
      case RealSrc::Stack:
        --depth;
        array = columnStack_[depth];
        number = scalarStack_[depth];
        break;
      case RealSrc::Const:
        number = real.constants[in.index];
        break;
      case RealSrc::Global:
        array = columnOf(in.index);
        if (array == nullptr) number = globals[in.index].number();
        break;
    }
    if (op == RealOp::Push) {
      columnStack_[depth] = array;
      scalarStack_[depth] = number;
      ++depth;
      continue;
    }
    Step step;
    if (op == RealOp::Call) {
      step.call = &real.calls[in.index];
      // The function reads its object's variables from the store: none may vary.
      for (const BulkColumn& column : columns) {
        if (column.slot - step.call->firstVariable < step.call->variableCount) return false;
      }
      step.variables = &globals[step.call->firstVariable];
      if (array == nullptr) {
        double r = 0.0;
        scalarFailed_ |= !step.call->function(step.call->member, number, step.variables, r);
        columnStack_[depth] = nullptr;
        scalarStack_[depth++] = r;
        continue;
      }
      step.kernel = CallArray;
      step.a = array;
      step.out = registers_.data() + depth * kBulkBlock;
      steps_.push_back(step);
      columnStack_[depth++] = step.out;
      continue;
    }
    const OpForm& form = kForms[static_cast<std::size_t>(op)];
    step.out = registers_.data() + (form.binary ? depth - 1 : depth) * kBulkBlock;
    if (form.binary) {
      --depth;  // the left operand's place takes the result
      const double* left = columnStack_[depth];
      const double leftNumber = scalarStack_[depth];
      if (left == nullptr && array == nullptr) {
        const double r = form.binary(leftNumber, number);
        scalarFailed_ |= !(r - r == 0.0);
        columnStack_[depth] = nullptr;
        scalarStack_[depth++] = r;
        continue;
      }
      step.a = left;
      step.na = leftNumber;
      step.b = array;
      step.nb = number;
      step.kernel = form.kernels[left == nullptr ? 2 : array == nullptr ? 1 : 0];
    } else {
      if (array == nullptr) {
        const double r = form.unary(number);
        if (form.checked) scalarFailed_ |= !(r - r == 0.0);
        columnStack_[depth] = nullptr;
        scalarStack_[depth++] = r;
        continue;
      }
      step.a = array;
      step.kernel = form.kernels[0];
    }
    steps_.push_back(step);
    columnStack_[depth] = step.out;
    ++depth;
  }
  result_ = columnStack_[0];
  scalarResult_ = scalarStack_[0];
  return !scalarFailed_;
}

bool BulkRunner::Run(const Program& program, const Globals& globals,
                     std::span<const BulkColumn> columns, std::size_t count, double* results,
                     bool* pointPath) {
  if (program.real.code.empty() || !program.pure || count > kBulkBlock) return false;
  if (!Translate(program, globals, columns)) return false;
  checks_.assign(count, 0.0);
  double* checks = checks_.data();
  for (const Step& step : steps_) step.kernel(step, checks, count);
  for (std::size_t i = 0; i < count; ++i) {
    results[i] = result_ != nullptr ? result_[i] : scalarResult_;
    pointPath[i] = checks[i] != 0.0;
  }
  return true;
}

}  // namespace quon::script
