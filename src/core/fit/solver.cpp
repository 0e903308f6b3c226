// Gaussian elimination with partial pivoting, applied to many right-hand sides at once:
// the lines of Coef along one dimension. Cost for n terms and L lines: about n^3/3
// multiply-adds on the matrix and n^2/2 L on Coef in each of the elimination and the back
// substitution. A zero pivot column is skipped, and a zero or NaN on the diagonal at back
// substitution ends the solve as singular; nothing is ever divided by a tested zero.
//
// Conventions that differ from the textbook: the pivot is the first row of strictly largest
// magnitude (a NaN never wins a comparison); a column whose pivot magnitude is 0 or NaN is
// left alone instead of stopping at once; every row operation runs over the whole row from
// the pivot column on, so M(r, p) itself is computed (to nearly zero) rather than set.
//
// Every line sees exactly the operations of the plain algorithm in their order, so the
// results are bit for bit those of the line-by-line loops; only the order in which lines
// are visited differs. The row operations on the matrix do not depend on Coef, so the
// matrix is eliminated first, its multipliers recorded and, as in LAPACK's getrf, moved
// along with every later row exchange: row i of the record then holds the multiples
// subtracted, step after step, from the line element that ends in row i, and exchanging
// the elements of a line up front gives each the very updates it met before. Coef is then
// solved in lane blocks (solver_lanes.h): a few dozen lines copied side by side, exchanged
// rows and all, solved in registers and copied back, which reads and writes Coef once per
// dimension. Blocks are shared out to threads. Storage besides the matrix: the multipliers
// (n^2 doubles) and one block of n rows per thread.
#include "core/fit/solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/fit/solver_lanes.h"
#include "core/parallel/parallel_for.h"

namespace quon {
namespace {

bool IsZeroOrNaN(double value) { return value == 0.0 || std::isnan(value); }

// The plan of the lane blocks, and the row of the input each final row comes from.
struct Elimination {
  LanePlan plan;
  std::vector<int32_t> sourceRow;
  bool singular = false;
};

Elimination EliminateMatrix(BasisMatrix& m) {
  Elimination e;
  LanePlan& plan = e.plan;
  const int32_t n = m.size();
  const auto un = static_cast<std::size_t>(n);
  plan.n = n;
  plan.lower.assign(un * un, 0.0);
  plan.eliminates.assign(un, 0);
  e.sourceRow.resize(un);
  for (int32_t r = 0; r < n; ++r) e.sourceRow[static_cast<std::size_t>(r)] = r;
  for (int32_t p = 0; p + 1 < n; ++p) {
    double pivotMax = std::fabs(m(p, p));
    int32_t pivotRow = p;
    for (int32_t r = p + 1; r < n; ++r) {
      if (std::fabs(m(r, p)) > pivotMax) {
        pivotMax = std::fabs(m(r, p));
        pivotRow = r;
      }
    }
    if (IsZeroOrNaN(pivotMax)) continue;
    const auto up = static_cast<std::size_t>(p);
    plan.eliminates[up] = 1;
    if (pivotRow != p) {
      std::swap_ranges(m.row(p), m.row(p) + n, m.row(pivotRow));
      const auto uq = static_cast<std::size_t>(pivotRow);
      std::swap(e.sourceRow[up], e.sourceRow[uq]);
      double* lowerP = plan.lower.data() + up * un;
      std::swap_ranges(lowerP, lowerP + up, plan.lower.data() + uq * un);
    }
    const double* pivot = m.row(p);
    for (int32_t r = p + 1; r < n; ++r) {
      double* row = m.row(r);
      const double f = row[p] / pivot[p];
      plan.lower[static_cast<std::size_t>(r) * un + up] = f;
      for (int32_t c = p; c < n; ++c) row[c] = row[c] - f * pivot[c];
    }
  }
  plan.stepsBelow.assign(un, 0);
  for (int32_t i = 0; i < n; ++i) {
    plan.stepsBelow[static_cast<std::size_t>(i)] = static_cast<int32_t>(plan.steps.size());
    if (plan.eliminates[static_cast<std::size_t>(i)]) plan.steps.push_back(i);
  }
  plan.upper = m.row(0);
  for (int32_t r = n - 1; r >= 0; --r) {
    if (IsZeroOrNaN(m(r, r))) {
      plan.firstSolved = r + 1;
      e.singular = true;
      break;
    }
  }
  return e;
}

// The lines along dimension k of Coef: line l (counted over all blocks) has element r at
// (l / inner) * blockSize + r * inner + l % inner.
struct LineLayout {
  double* data;
  std::size_t n, inner, blockSize, lines;
  double* element0(std::size_t l) const { return data + (l / inner) * blockSize + l % inner; }
};

// From this many adjacent lines per slice on, lines are copied run by run; below it (for
// dimension 0 a run is one element) they are transposed one by one.
constexpr std::size_t kMinRunLength = 16;

// Copies a run of doubles (a block's width at most): a short one inline, where a call of
// memcpy would cost more than the copy, a long one by memcpy, which uses the widest moves.
void CopyRun(const double* from, std::size_t count, double* to) {
  if (count >= 32) {
    std::memcpy(to, from, count * sizeof(double));
    return;
  }
  for (; count >= 8; count -= 8, from += 8, to += 8) std::memcpy(to, from, 8 * sizeof(double));
  if (count >= 4) {
    std::memcpy(to, from, 4 * sizeof(double));
    count -= 4, from += 4, to += 4;
  }
  for (; count > 0; --count) *to++ = *from++;
}

// Copies lines l0 .. l0 + w - 1 into a block of `width` lanes, row r from element r of
// each line; lanes beyond w are zero.
void Gather(LaneIsa isa, const LineLayout& at, std::size_t l0, std::size_t w, std::size_t width,
            double* block) {
  for (std::size_t r = 0; r < at.n; ++r) {
    std::fill(block + r * width + w, block + (r + 1) * width, 0.0);
  }
  if (at.inner == 1) return LinesToRows(isa, at.element0(l0), at.n, w, block, width);
  if (at.inner < kMinRunLength) {
    for (std::size_t l = 0; l < w; ++l) {
      const double* line = at.element0(l0 + l);
      for (std::size_t r = 0; r < at.n; ++r) block[r * width + l] = line[r * at.inner];
    }
    return;
  }
  for (std::size_t done = 0; done < w;) {
    const std::size_t l = l0 + done;
    const std::size_t run = std::min(w - done, at.inner - l % at.inner);
    const double* first = at.element0(l);
    for (std::size_t r = 0; r < at.n; ++r) {
      const double* slice = first + r * at.inner;
      CopyRun(slice, run, block + r * width + done);
    }
    done += run;
  }
}

// Copies the lanes back, row r to element r.
void Scatter(LaneIsa isa, const LineLayout& at, std::size_t l0, std::size_t w, std::size_t width,
             const double* block) {
  if (at.inner == 1) return RowsToLines(isa, block, width, at.n, w, at.element0(l0));
  if (at.inner < kMinRunLength) {
    for (std::size_t l = 0; l < w; ++l) {
      double* line = at.element0(l0 + l);
      for (std::size_t r = 0; r < at.n; ++r) line[r * at.inner] = block[r * width + l];
    }
    return;
  }
  for (std::size_t done = 0; done < w;) {
    const std::size_t l = l0 + done;
    const std::size_t run = std::min(w - done, at.inner - l % at.inner);
    double* first = at.element0(l);
    for (std::size_t r = 0; r < at.n; ++r) {
      const double* row = block + r * width + done;
      CopyRun(row, run, first + r * at.inner);
    }
    done += run;
  }
}

// One thread's storage: the kernel's scratch rows, a copy of the lines where they cannot
// be read in place, and the row addresses.
struct Workspace {
  std::vector<double> storage;
  std::vector<const double*> in;
  std::vector<double*> out;
  double* scratch = nullptr;
  double* copy = nullptr;
};

// A block's first lane on a cache line's start: the kernel's vectors then never straddle
// two lines (which costs a third of its speed).
constexpr std::size_t kCacheLine = 64;

double* CacheLineStart(std::vector<double>& storage) {
  const auto address = reinterpret_cast<std::uintptr_t>(storage.data());
  const std::size_t skip = (kCacheLine - address % kCacheLine) % kCacheLine / sizeof(double);
  return storage.data() + skip;
}

// Lane blocks per chunk of work handed to a thread: about two million multiply-adds, so
// that a small fit stays on the calling thread.
std::size_t BlocksPerChunk(std::size_t n, std::size_t width) {
  const std::size_t perBlock = n * n * width;
  return std::max<std::size_t>(1, (std::size_t{1} << 21) / perBlock);
}

}  // namespace

SolveOutcome SolveAlongDimension(BasisMatrix& matrix, CoefArray& coef, int k,
                                 const SolveOptions& options) {
  if (k < 0 || k > 3 || matrix.size() != coef.extent(k) || coef.empty()) {
    throw std::invalid_argument("The basis matrix does not match the coefficient array.");
  }
  const Elimination elimination = EliminateMatrix(matrix);
  const auto n = static_cast<std::size_t>(matrix.size());
  const std::size_t inner = coef.stride(k);
  const LineLayout layout{coef.data(), n, inner, inner * n, coef.size() / n};
  const LaneIsa isa = options.isa;
  const std::size_t width = LaneWidth(isa);
  const std::size_t blocks = (layout.lines + width - 1) / width;
  const std::size_t perChunk = BlocksPerChunk(n, width);
  const std::size_t chunks = (blocks + perChunk - 1) / perChunk;
  const std::size_t workers = WorkerCount(chunks, options.threads);
  std::vector<Workspace> spaces(workers);
  for (Workspace& space : spaces) {
    space.storage.resize(2 * n * width + kCacheLine / sizeof(double));
    space.scratch = CacheLineStart(space.storage);
    space.copy = space.scratch + n * width;
    space.in.resize(n);
    space.out.resize(n);
  }
  const std::vector<int32_t>& sourceRow = elimination.sourceRow;
  ParallelFor(chunks, workers, [&](std::size_t worker, std::size_t chunk) {
    Workspace& space = spaces[worker];
    const LaneRows rows{space.in.data(), space.out.data(), space.scratch};
    const std::size_t end = std::min(blocks, (chunk + 1) * perChunk);
    for (std::size_t b = chunk * perChunk; b < end; ++b) {
      const std::size_t l0 = b * width;
      const std::size_t w = std::min(width, layout.lines - l0);
      // In place when the block's lanes are adjacent in every row of Coef.
      Gather(isa, layout, l0, w, width, space.copy);
      for (std::size_t i = 0; i < n; ++i) {
        space.in[i] = space.copy + static_cast<std::size_t>(sourceRow[i]) * width;
        space.out[i] = space.copy + i * width;
      }
      SolveLanes(isa, elimination.plan, rows);
      Scatter(isa, layout, l0, w, width, space.copy);
    }
  });
  return elimination.singular ? SolveOutcome::Singular : SolveOutcome::Solved;
}

}  // namespace quon
