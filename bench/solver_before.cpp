// The solver as it stood before the lane-block kernels (solver_lanes.h), kept as the
// benchmark's baseline: the matrix eliminated once, then panels of adjacent lines of
// about 64 KiB run through the elimination and back substitution one row operation at a
// time, the inner loops over the panel's lines left to the compiler's vectoriser (baseline
// and AVX2 clones). Same results bit for bit as the solver; single-threaded.
#include "solver_before.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

namespace quon::bench {
namespace {

// The matrix's part of the solve, as the elimination met it.
struct EliminationPlan {
  int32_t n = 0;
  std::vector<int32_t> pivotRow;  // per column p < n - 1: the row exchanged with p, -1 to skip
  std::vector<double> factors;    // factors[p * n + r], r > p: the multiplier of row r
  int32_t singularRow = -1;       // back substitution solves rows n - 1 down to this + 1
};

bool IsZeroOrNaN(double value) { return value == 0.0 || std::isnan(value); }

EliminationPlan EliminateMatrix(BasisMatrix& m) {
  EliminationPlan plan;
  const int32_t n = m.size();
  plan.n = n;
  plan.pivotRow.assign(static_cast<std::size_t>(n), -1);
  plan.factors.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0.0);
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
    plan.pivotRow[static_cast<std::size_t>(p)] = pivotRow;
    if (pivotRow != p) {
      double* a = m.row(p);
      double* b = m.row(pivotRow);
      for (int32_t c = 0; c < n; ++c) std::swap(a[c], b[c]);
    }
    const double* pivot = m.row(p);
    for (int32_t r = p + 1; r < n; ++r) {
      double* row = m.row(r);
      const double f = row[p] / pivot[p];
      plan.factors[static_cast<std::size_t>(p) * static_cast<std::size_t>(n) +
                   static_cast<std::size_t>(r)] = f;
      for (int32_t c = p; c < n; ++c) row[c] = row[c] - f * pivot[c];
    }
  }
  for (int32_t r = n - 1; r >= 0; --r) {
    if (IsZeroOrNaN(m(r, r))) {
      plan.singularRow = r;
      break;
    }
  }
  return plan;
}

// n rows of `width` adjacent lines' elements; row r starts at base + r * rowStride.
struct Panel {
  double* base;
  std::size_t rowStride;
  std::size_t width;
  double* row(int32_t r) const { return base + static_cast<std::size_t>(r) * rowStride; }
};

// The panel kernel is compiled twice, for the baseline and for AVX2, and the processor's
// kind picks one when the program starts. Both round alike: only separate IEEE multiplies,
// adds, subtracts and divides are used (no fused multiply-add, see the build options).
// Under ThreadSanitizer it is compiled once: the resolver that picks a clone runs while the
// program is being loaded, before the sanitizer's runtime can serve its instrumented code.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && \
    !defined(__SANITIZE_THREAD__)
#define QUON_PANEL_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUON_PANEL_CLONES
#endif

// The whole solve of the lines in one panel. sum has room for panel.width values.
QUON_PANEL_CLONES void SolvePanel(const EliminationPlan& plan, const BasisMatrix& m,
                                  const Panel& panel, double* sum) {
  const int32_t n = plan.n;
  const std::size_t w = panel.width;
  for (int32_t p = 0; p + 1 < n; ++p) {
    const int32_t pivotRow = plan.pivotRow[static_cast<std::size_t>(p)];
    if (pivotRow < 0) continue;
    if (pivotRow != p) {
      double* a = panel.row(p);
      double* b = panel.row(pivotRow);
      for (std::size_t i = 0; i < w; ++i) std::swap(a[i], b[i]);
    }
    const double* xp = panel.row(p);
    const double* f =
        plan.factors.data() + static_cast<std::size_t>(p) * static_cast<std::size_t>(n);
    for (int32_t r = p + 1; r < n; ++r) {
      double* xr = panel.row(r);
      const double fr = f[r];
      for (std::size_t i = 0; i < w; ++i) xr[i] = xr[i] - fr * xp[i];
    }
  }
  for (int32_t r = n - 1; r > plan.singularRow; --r) {
    const double* mr = m.row(r);
    for (std::size_t i = 0; i < w; ++i) sum[i] = 0.0;
    for (int32_t c = r + 1; c < n; ++c) {
      const double a = mr[c];
      const double* xc = panel.row(c);
      for (std::size_t i = 0; i < w; ++i) sum[i] = sum[i] + a * xc[i];
    }
    const double d = mr[r];
    double* xr = panel.row(r);
    for (std::size_t i = 0; i < w; ++i) xr[i] = (xr[i] - sum[i]) / d;
  }
}

// Lines per panel: n * width doubles of about 64 KiB (measured best: the rows touched by one
// column's updates stay in the first-level cache), a multiple of 8 lines.
std::size_t PanelWidth(int32_t n) {
  const std::size_t width = (std::size_t{8192} / static_cast<std::size_t>(n)) & ~std::size_t{7};
  return width < 8 ? 8 : width;
}

// From this many adjacent lines per block on, panels are copied run by run; below it the
// lines are transposed into the panel one by one.
constexpr std::size_t kMinRunLength = 16;

// The lines along dimension k of Coef: line l (counted over all blocks) has element r at
// (l / inner) * blockSize + r * inner + l % inner.
struct LineLayout {
  double* data;
  std::size_t n, inner, blockSize, lines;
  double* element0(std::size_t l) const { return data + (l / inner) * blockSize + l % inner; }
};

// Copies lines l0 .. l0 + w - 1 into the panel (toPanel) or back. A panel row is made of
// runs of adjacent elements, one per block it touches; copying them into one compact panel
// keeps rows that lie a large power of two apart from evicting each other in the cache.
void CopyRuns(const LineLayout& at, std::size_t l0, std::size_t w, double* panel, bool toPanel) {
  for (std::size_t done = 0; done < w;) {
    const std::size_t l = l0 + done;
    const std::size_t run = std::min(w - done, at.inner - l % at.inner);
    double* first = at.element0(l);
    for (std::size_t r = 0; r < at.n; ++r) {
      double* row = panel + r * w + done;
      double* slice = first + r * at.inner;
      if (toPanel) {
        std::copy(slice, slice + run, row);
      } else {
        std::copy(row, row + run, slice);
      }
    }
    done += run;
  }
}

// The same for short runs (dimension 0 has runs of one element): line by line.
void CopyTransposed(const LineLayout& at, std::size_t l0, std::size_t w, double* panel,
                    bool toPanel) {
  for (std::size_t l = 0; l < w; ++l) {
    double* line = at.element0(l0 + l);
    for (std::size_t r = 0; r < at.n; ++r) {
      if (toPanel) {
        panel[r * w + l] = line[r * at.inner];
      } else {
        line[r * at.inner] = panel[r * w + l];
      }
    }
  }
}

}  // namespace

SolveOutcome SolveAlongDimensionBefore(BasisMatrix& matrix, CoefArray& coef, int k) {
  if (k < 0 || k > 3 || matrix.size() != coef.extent(k) || coef.empty()) {
    throw std::invalid_argument("The basis matrix does not match the coefficient array.");
  }
  const EliminationPlan plan = EliminateMatrix(matrix);
  const auto n = static_cast<std::size_t>(plan.n);
  const std::size_t inner = coef.stride(k);
  const LineLayout layout{coef.data(), n, inner, inner * n, coef.size() / n};
  const auto copy = inner >= kMinRunLength ? CopyRuns : CopyTransposed;
  const std::size_t width = PanelWidth(plan.n);
  std::vector<double> panel(n * width);
  std::vector<double> sum(width);
  for (std::size_t l0 = 0; l0 < layout.lines; l0 += width) {
    const std::size_t w = std::min(width, layout.lines - l0);
    copy(layout, l0, w, panel.data(), true);
    SolvePanel(plan, matrix, Panel{panel.data(), w, w}, sum.data());
    copy(layout, l0, w, panel.data(), false);
  }
  return plan.singularRow >= 0 ? SolveOutcome::Singular : SolveOutcome::Solved;
}

}  // namespace quon::bench
