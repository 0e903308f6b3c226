#include "engine/bulk_code.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "engine/real_arithmetic.h"

namespace quon::script {
namespace {

using Step = BulkRunner::Step;
using Kernel = bool (*)(const Step& step, double* checks, std::size_t count);

// The loops are compiled for AVX-512, AVX2 and the baseline, and the processor's kind picks
// one when the program starts: only separate IEEE operations and the same C library calls,
// so every clone gives the same bits. With GCC only (Clang takes no clones of templates);
// under ThreadSanitizer once, as the resolver that picks a clone runs before the
// sanitizer's runtime can serve it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define QUON_BULK_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define QUON_BULK_CLONES
#endif

// A checked operation must mark the points where its result is not finite, adding r - r
// to their sums as the real code's single sum does. The loops only note whether any
// result of the block is not finite: r - r is +0 (all bits clear) for a finite r and NaN
// otherwise, so an or of its bits, which vectorises, tells. The rare step where one is
// not goes over its results again to mark the points. Every loop tells whether it marked
// any point, so that a block where none was marked is done without reading the marks.
bool MarkNotFinite(const double* results, double* checks, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) checks[i] += results[i] - results[i];
  return true;
}

uint64_t NotFinite(double r) { return std::bit_cast<uint64_t>(r - r); }

template <double (*F)(double, double)>
QUON_BULK_CLONES bool BinaryArrays(const Step& s, double* checks, std::size_t count) {
  uint64_t notFinite = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(s.a[i], s.b[i]);
    s.out[i] = r;
    notFinite |= NotFinite(r);
  }
  return notFinite != 0 && MarkNotFinite(s.out, checks, count);
}

template <double (*F)(double, double)>
QUON_BULK_CLONES bool BinaryArrayNumber(const Step& s, double* checks, std::size_t count) {
  const double b = s.nb;
  uint64_t notFinite = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(s.a[i], b);
    s.out[i] = r;
    notFinite |= NotFinite(r);
  }
  return notFinite != 0 && MarkNotFinite(s.out, checks, count);
}

template <double (*F)(double, double)>
QUON_BULK_CLONES bool BinaryNumberArray(const Step& s, double* checks, std::size_t count) {
  const double a = s.na;
  uint64_t notFinite = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(a, s.b[i]);
    s.out[i] = r;
    notFinite |= NotFinite(r);
  }
  return notFinite != 0 && MarkNotFinite(s.out, checks, count);
}

// Operations done in a few instructions, over the whole block.
template <double (*F)(double), bool Checked>
QUON_BULK_CLONES bool UnaryArray(const Step& s, double* checks, std::size_t count) {
  uint64_t notFinite = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double r = F(s.a[i]);
    s.out[i] = r;
    if constexpr (Checked) notFinite |= NotFinite(r);
  }
  return notFinite != 0 && MarkNotFinite(s.out, checks, count);
}

// Functions of the C library, called once per run of equal arguments: a grid's points
// share their coordinates in runs (the inner variable's nodes repeat each outer value),
// and a function of the same bits gives the same bits.
template <double (*F)(double), bool Checked>
bool UnaryCalls(const Step& s, double* checks, std::size_t count) {
  if (count == 0) return false;
  uint64_t notFinite = 0;
  uint64_t previous = ~std::bit_cast<uint64_t>(s.a[0]);
  double r = 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    if (const auto bits = std::bit_cast<uint64_t>(s.a[i]); bits != previous) {
      previous = bits;
      r = F(s.a[i]);
      if constexpr (Checked) notFinite |= NotFinite(r);
    }
    s.out[i] = r;
  }
  return notFinite != 0 && MarkNotFinite(s.out, checks, count);
}

// A call of a function of an object, through its form over blocks; a point where it
// declines is marked, and the per-point path then evaluates it. The function needs nothing
// but its argument and its object's variables (which do not vary here), so where the
// arguments come in runs of equal ones (a grid's outer coordinates) it is called on one of
// each run only.
bool CallBlock(const Step& s, double* checks, std::size_t count) {
  static_assert(kBulkBlock <= 65536, "a run's number fits 16 bits");
  const RealCall& call = *s.call;
  std::size_t runs = count > 0 ? 1 : 0;
  for (std::size_t i = 1; i < count; ++i) {
    runs += std::bit_cast<uint64_t>(s.a[i]) != std::bit_cast<uint64_t>(s.a[i - 1]);
  }
  if (2 * runs > count) return call.block(call.member, s.a, count, s.variables, s.out, checks);
  std::array<double, kBulkBlock> arguments{};
  std::array<double, kBulkBlock> values;
  std::array<double, kBulkBlock> marks{};
  std::array<uint16_t, kBulkBlock> run;
  std::size_t next = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (i == 0 || std::bit_cast<uint64_t>(s.a[i]) != std::bit_cast<uint64_t>(s.a[i - 1])) {
      arguments[next++] = s.a[i];
    }
    run[i] = static_cast<uint16_t>(next - 1);
  }
  const bool marked =
      call.block(call.member, arguments.data(), next, s.variables, values.data(), marks.data());
  for (std::size_t i = 0; i < count; ++i) {
    s.out[i] = values[run[i]];
    checks[i] += marks[run[i]];
  }
  return marked;
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
template <double (*F)(double), bool Checked>
constexpr OpForm LibraryCall() {
  return {nullptr, F, Checked, {UnaryCalls<F, Checked>, nullptr, nullptr}};
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
    LibraryCall<real::Sin, false>(),
    LibraryCall<real::Cos, false>(),
    LibraryCall<real::Atn, false>(),
    LibraryCall<real::Exp, true>(),
    LibraryCall<real::Log, true>(),
    Unary<real::Sqr, true>(),
    LibraryCall<real::Tan, false>(),
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
    if (columnOf(slot) == nullptr &&
        (slot >= globals.size() || !RealCodeReads(real, globals[slot]))) {
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
      if (step.call->block == nullptr) return false;  // no form over blocks
      step.kernel = CallBlock;
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

namespace {

// Where the store keeps its slots: a translation points into it.
const Variant* FirstSlot(const Globals& globals) {
  return globals.size() > 0 ? &globals[0] : nullptr;
}

}  // namespace

bool BulkRunner::Reusable(const Program& program, const Globals& globals,
                          std::span<const BulkColumn> columns) const {
  const auto same = [](const RealInstr& a, const RealInstr& b) {
    return a.code == b.code && a.index == b.index;
  };
  const auto sameBits = [](double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
  };
  // The code and its constants as well as the address: another program may come to live
  // where a freed one was.
  if (program_ != &program || !program.real.calls.empty() ||
      !std::equal(code_.begin(), code_.end(), program.real.code.begin(), program.real.code.end(),
                  same) ||
      !std::equal(constants_.begin(), constants_.end(), program.real.constants.begin(),
                  program.real.constants.end(), sameBits) ||
      store_ != FirstSlot(globals) || storeSize_ != globals.size() ||
      columns.size() != columnSlots_.size()) {
    return false;
  }
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (columns[k].slot != columnSlots_[k]) return false;
  }
  for (const auto& [slot, bits] : fixedReads_) {
    if (!RealCodeReads(program.real, globals[slot]) ||
        std::bit_cast<uint64_t>(globals[slot].number()) != bits) {
      return false;
    }
  }
  return true;
}

void BulkRunner::Remember(const Program& program, const Globals& globals,
                          std::span<const BulkColumn> columns) {
  program_ = nullptr;
  columnSlots_.clear();
  fixedReads_.clear();
  for (const BulkColumn& column : columns) columnSlots_.push_back(column.slot);
  for (const uint32_t slot : program.real.reads) {
    if (std::find(columnSlots_.begin(), columnSlots_.end(), slot) != columnSlots_.end()) continue;
    if (slot >= globals.size() || !RealCodeReads(program.real, globals[slot])) return;  // not kept
    fixedReads_.emplace_back(slot, std::bit_cast<uint64_t>(globals[slot].number()));
  }
  const auto indexOf = [&](const double* array) {
    for (std::size_t k = 0; k < columns.size(); ++k) {
      if (array != nullptr && array == columns[k].values) return static_cast<int>(k);
    }
    return -1;
  };
  for (Step& step : steps_) {
    step.columnA = indexOf(step.a);
    step.columnB = indexOf(step.b);
  }
  resultColumn_ = indexOf(result_);
  program_ = &program;
  code_ = program.real.code;
  constants_ = program.real.constants;
  store_ = FirstSlot(globals);
  storeSize_ = globals.size();
}

void BulkRunner::Rebind(std::span<const BulkColumn> columns) {
  for (Step& step : steps_) {
    if (step.columnA >= 0) step.a = columns[static_cast<std::size_t>(step.columnA)].values;
    if (step.columnB >= 0) step.b = columns[static_cast<std::size_t>(step.columnB)].values;
  }
  if (resultColumn_ >= 0) result_ = columns[static_cast<std::size_t>(resultColumn_)].values;
}

bool BulkRunner::Run(const Program& program, const Globals& globals,
                     std::span<const BulkColumn> columns, std::size_t count, double* results,
                     bool* pointPath) {
  if (program.real.code.empty() || !program.pure || count > kBulkBlock) return false;
  if (Reusable(program, globals, columns)) {
    Rebind(columns);
  } else {
    translated_ = Translate(program, globals, columns);
    Remember(program, globals, columns);
  }
  if (!translated_) return false;
  checks_.assign(count, 0.0);
  double* checks = checks_.data();
  bool marked = false;
  for (const Step& step : steps_) marked |= step.kernel(step, checks, count);
  if (result_ != nullptr) {
    std::copy(result_, result_ + count, results);
  } else {
    std::fill(results, results + count, scalarResult_);
  }
  for (std::size_t i = 0; i < count; ++i) pointPath[i] = marked && checks[i] != 0.0;
  return true;
}

}  // namespace quon::script
