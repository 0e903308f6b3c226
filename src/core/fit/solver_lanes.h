// The solve of one lane block: lines of Coef that the elimination of one matrix applies
// to, side by side (element i of every line forms row i of the block, its lanes adjacent
// in memory), so that every step of the substitutions runs over several lines at once in
// vector registers. The rows are read and written where the driver (solver.cpp) says:
// in Coef itself where a row's lanes lie adjacent there, else in a copy.
//
// Forward substitution runs row by row (each row takes the multiples of the rows above it
// in increasing order, exactly the sequence of updates the elimination gave it), several
// rows at once so that every load of a row above serves them all; back substitution keeps
// its sums in registers across the whole row. Each line therefore sees the same IEEE
// operations in the same order as the plain elimination: separate multiplies, subtracts,
// adds and divides, never fused (see the build options of this file), whatever the
// instruction set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quon {

// The matrix's part of the solve, rows in their final order after every exchange.
struct LanePlan {
  int32_t n = 0;
  // lower[i * n + q], q < i: the multiple of row q subtracted from row i.
  std::vector<double> lower;
  // The columns whose step eliminated anything (a column of zeros or NaNs is skipped),
  // in increasing order, and per row i how many of them lie below i.
  std::vector<int32_t> steps;
  std::vector<int32_t> stepsBelow;
  std::vector<uint8_t> eliminates;  // per column
  const double* upper = nullptr;    // the eliminated matrix, row-major
  int32_t firstSolved = 0;          // back substitution solves rows n - 1 down to this one
};

// The instruction sets the kernel is built for; the best the processor offers is used.
enum class LaneIsa { Baseline, Avx2, Avx512 };

// The sets this processor can run, Baseline first.
std::vector<LaneIsa> SupportedLaneIsas();
LaneIsa BestLaneIsa();

// Lines per block for `isa`: a multiple of its vector width.
std::size_t LaneWidth(LaneIsa isa);

// Where a block's rows are, each LaneWidth(isa) doubles: in[i] holds the input of row i
// (of the final order), out[r] receives row r of the solution (every input is read before
// the first output is written, so they may be the same rows), scratch has n rows of its
// own, LaneWidth(isa) lanes apart, on a cache line's start.
struct LaneRows {
  const double* const* in = nullptr;
  double* const* out = nullptr;
  double* scratch = nullptr;
};

void SolveLanes(LaneIsa isa, const LanePlan& plan, const LaneRows& rows);

// `count` lines of n elements stored one after another (line l at lines + l * n, as the
// lines of dimension 0 lie) to the rows of a block `width` lanes wide (row r, lane l:
// element r of line l), and back. The lanes from count on are left alone.
void LinesToRows(LaneIsa isa, const double* lines, std::size_t n, std::size_t count, double* rows,
                 std::size_t width);
void RowsToLines(LaneIsa isa, const double* rows, std::size_t width, std::size_t n,
                 std::size_t count, double* lines);

}  // namespace quon
