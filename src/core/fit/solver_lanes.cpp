// The lane-block kernel, written once over a vector type of the compiler's vector
// extension and compiled for three instruction sets: the baseline (two lanes), AVX2 (four)
// and AVX-512 (eight). Each entry point is compiled for its set and the kernel is inlined
// into it; the processor's kind picks the entry once. The register budget of each set
// fixes how many rows the forward substitution carries at once and how many vectors
// make a block.
//
// Cost per line for n terms: n (n - 1) / 2 multiply-subtracts forward, as many
// multiply-adds and n divides back. Forward, a group of R rows over V vectors loads
// each row above once for the R rows (R V accumulators stay in registers); back, the V
// sums of a row stay in registers while the row's n - 1 - r products are added in
// increasing column order, as the plain algorithm adds them.
#include "core/fit/solver_lanes.h"

namespace quon {
namespace {

// Vectors of 2, 4 and 8 doubles that may lie wherever a double may (a block's rows are
// only 8-byte aligned) and may alias doubles. They reach the kernel as members of a class,
// since a template argument would lose the attributes.
template <int kLanes>
struct Lanes;
template <>
struct Lanes<2> {
  typedef double Vec __attribute__((vector_size(16), aligned(8), may_alias));
};
template <>
struct Lanes<4> {
  typedef double Vec __attribute__((vector_size(32), aligned(8), may_alias));
};
template <>
struct Lanes<8> {
  typedef double Vec __attribute__((vector_size(64), aligned(8), may_alias));
};

#define QUON_INLINE __attribute__((always_inline)) inline
#define QUON_UNROLL _Pragma("GCC unroll 16")

template <int kLanes>
QUON_INLINE typename Lanes<kLanes>::Vec& At(double* p) {
  return *reinterpret_cast<typename Lanes<kLanes>::Vec*>(p);
}
template <int kLanes>
QUON_INLINE const typename Lanes<kLanes>::Vec& At(const double* p) {
  return *reinterpret_cast<const typename Lanes<kLanes>::Vec*>(p);
}

// Rows i0 .. i0 + R - 1 of the forward substitution on V vectors from lane `lane` on:
// the rows above the group first, then the triangle inside it, so each row still takes its
// updates in increasing order. The group's input comes from `in`, its result goes to the
// scratch rows (kWidth lanes apart), where the rows below it read it.
template <int kLanes, int V, int R>
QUON_INLINE void ForwardGroup(const LanePlan& plan, const LaneRows& rows, std::size_t kWidth,
                              std::size_t lane, int32_t i0) {
  using Vec = typename Lanes<kLanes>::Vec;
  const auto n = static_cast<std::size_t>(plan.n);
  const double* lower = plan.lower.data();
  double* scratch = rows.scratch + lane;
  Vec acc[R][V];
  QUON_UNROLL for (int r = 0; r < R; ++r) {
    QUON_UNROLL for (int v = 0; v < V; ++v) {
      acc[r][v] = At<kLanes>(rows.in[i0 + r] + lane + v * kLanes);
    }
  }
  const int32_t below = plan.stepsBelow[static_cast<std::size_t>(i0)];
  for (int32_t t = 0; t < below; ++t) {
    const auto q = static_cast<std::size_t>(plan.steps[static_cast<std::size_t>(t)]);
    double* xq = scratch + q * kWidth;
    QUON_UNROLL for (int r = 0; r < R; ++r) {
      const double f = lower[(i0 + r) * n + q];
      QUON_UNROLL for (int v = 0; v < V; ++v) {
        acc[r][v] = acc[r][v] - f * At<kLanes>(xq + v * kLanes);
      }
    }
  }
  QUON_UNROLL for (int j = 0; j + 1 < R; ++j) {
    if (!plan.eliminates[static_cast<std::size_t>(i0 + j)]) continue;
    QUON_UNROLL for (int r = j + 1; r < R; ++r) {
      const double f = lower[(i0 + r) * n + static_cast<std::size_t>(i0 + j)];
      QUON_UNROLL for (int v = 0; v < V; ++v) acc[r][v] = acc[r][v] - f * acc[j][v];
    }
  }
  QUON_UNROLL for (int r = 0; r < R; ++r) {
    QUON_UNROLL for (int v = 0; v < V; ++v) {
      At<kLanes>(scratch + (i0 + r) * kWidth + v * kLanes) = acc[r][v];
    }
  }
}

// Rows n - 1 down to firstSolved of the back substitution, over the scratch rows; each
// solved row goes to its output as well. Rows left unsolved are copied out as they are.
template <int kLanes, int V>
QUON_INLINE void BackSubstitute(const LanePlan& plan, const LaneRows& rows) {
  using Vec = typename Lanes<kLanes>::Vec;
  constexpr std::size_t kWidth = std::size_t{kLanes} * V;
  const auto n = static_cast<std::size_t>(plan.n);
  for (int32_t r = plan.n - 1; r >= plan.firstSolved; --r) {
    const double* row = plan.upper + static_cast<std::size_t>(r) * n;
    Vec sum[V];
    QUON_UNROLL for (int v = 0; v < V; ++v) sum[v] = Vec{};  // +0.0, as the plain sum starts
    for (auto c = static_cast<std::size_t>(r) + 1; c < n; ++c) {
      const double a = row[c];
      double* xc = rows.scratch + c * kWidth;
      QUON_UNROLL for (int v = 0; v < V; ++v) sum[v] = sum[v] + a * At<kLanes>(xc + v * kLanes);
    }
    const double d = row[r];
    double* xr = rows.scratch + static_cast<std::size_t>(r) * kWidth;
    QUON_UNROLL for (int v = 0; v < V; ++v) {
      const Vec x = (At<kLanes>(xr + v * kLanes) - sum[v]) / d;
      At<kLanes>(xr + v * kLanes) = x;
      At<kLanes>(rows.out[r] + v * kLanes) = x;
    }
  }
  for (int32_t r = 0; r < plan.firstSolved; ++r) {
    const double* xr = rows.scratch + static_cast<std::size_t>(r) * kWidth;
    QUON_UNROLL for (int v = 0; v < V; ++v) {
      At<kLanes>(rows.out[r] + v * kLanes) = At<kLanes>(xr + v * kLanes);
    }
  }
}

// A block of V vectors: forward in slices of VF vectors, R rows at a time, so that every
// input row is read before back substitution writes the first output; back over all V.
template <int kLanes, int V, int VF, int R>
QUON_INLINE void SolveBlock(const LanePlan& plan, const LaneRows& rows) {
  constexpr std::size_t kWidth = std::size_t{kLanes} * V;
  for (std::size_t lane = 0; lane < kWidth; lane += std::size_t{kLanes} * VF) {
    int32_t i0 = 0;
    for (; i0 + R <= plan.n; i0 += R) ForwardGroup<kLanes, VF, R>(plan, rows, kWidth, lane, i0);
    for (; i0 < plan.n; ++i0) ForwardGroup<kLanes, VF, 1>(plan, rows, kWidth, lane, i0);
  }
  BackSubstitute<kLanes, V>(plan, rows);
}

// An 8 x 8 tile of doubles transposed in registers: a[j] holds elements 0..7 of line j,
// t[i] receives element i of lines 0..7. Three rounds of pairwise shuffles.
using Lanes8 = typename Lanes<8>::Vec;

QUON_INLINE void Transpose8(const Lanes8 (&a)[8], Lanes8 (&t)[8]) {
  using Vec = Lanes8;
  Vec u[8];
  QUON_UNROLL for (int j = 0; j < 8; j += 2) {
    u[j] = __builtin_shufflevector(a[j], a[j + 1], 0, 8, 2, 10, 4, 12, 6, 14);
    u[j + 1] = __builtin_shufflevector(a[j], a[j + 1], 1, 9, 3, 11, 5, 13, 7, 15);
  }
  Vec v[8];
  QUON_UNROLL for (int j = 0; j < 8; j += 4) {
    QUON_UNROLL for (int k = 0; k < 2; ++k) {
      v[j + k] = __builtin_shufflevector(u[j + k], u[j + k + 2], 0, 1, 8, 9, 4, 5, 12, 13);
      v[j + k + 2] = __builtin_shufflevector(u[j + k], u[j + k + 2], 2, 3, 10, 11, 6, 7, 14, 15);
    }
  }
  QUON_UNROLL for (int i = 0; i < 4; ++i) {
    t[i] = __builtin_shufflevector(v[i], v[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    t[i + 4] = __builtin_shufflevector(v[i], v[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

// Lines stored one after another (line l's n elements at lines + l * n) to block rows
// (row r, lane l: element r of line l) when `toRows`, else back. Whole 8 x 8 tiles in
// registers, the edges one element at a time.
template <bool toRows>
QUON_INLINE void TransposeLines(double* lines, std::size_t n, std::size_t count, double* rows,
                                std::size_t width) {
  using Vec = Lanes8;
  const std::size_t tileRows = n - n % 8;
  const std::size_t tileLines = count - count % 8;
  for (std::size_t r = 0; r < tileRows; r += 8) {
    for (std::size_t l = 0; l < tileLines; l += 8) {
      Vec a[8];
      Vec t[8];
      if constexpr (toRows) {
        QUON_UNROLL for (int j = 0; j < 8; ++j) a[j] = At<8>(lines + (l + j) * n + r);
        Transpose8(a, t);
        QUON_UNROLL for (int i = 0; i < 8; ++i) At<8>(rows + (r + i) * width + l) = t[i];
      } else {
        QUON_UNROLL for (int i = 0; i < 8; ++i) a[i] = At<8>(rows + (r + i) * width + l);
        Transpose8(a, t);
        QUON_UNROLL for (int j = 0; j < 8; ++j) At<8>(lines + (l + j) * n + r) = t[j];
      }
    }
  }
  for (std::size_t l = 0; l < count; ++l) {
    const std::size_t first = l < tileLines ? tileRows : 0;
    for (std::size_t r = first; r < n; ++r) {
      if constexpr (toRows) {
        rows[r * width + l] = lines[l * n + r];
      } else {
        lines[l * n + r] = rows[r * width + l];
      }
    }
  }
}

// Vectors and rows per set: forward, the accumulators, one row's vectors and the
// multipliers fit in the set's registers (16 below AVX-512, 32 with it); back, eight
// independent sums keep both adders busy while each waits for its previous add.
void SolveBaseline(const LanePlan& plan, const LaneRows& rows) {
  SolveBlock<2, 8, 4, 2>(plan, rows);
}
template <bool toRows>
void TransposeBaseline(double* lines, std::size_t n, std::size_t count, double* rows,
                       std::size_t width) {
  TransposeLines<toRows>(lines, n, count, rows, width);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QUON_LANE_ISAS 1
__attribute__((target("avx2"))) void SolveAvx2(const LanePlan& plan, const LaneRows& rows) {
  SolveBlock<4, 8, 4, 2>(plan, rows);
}
__attribute__((target("avx512f"))) void SolveAvx512(const LanePlan& plan, const LaneRows& rows) {
  SolveBlock<8, 8, 4, 4>(plan, rows);
}
template <bool toRows>
__attribute__((target("avx512f"))) void TransposeAvx512(double* lines, std::size_t n,
                                                        std::size_t count, double* rows,
                                                        std::size_t width) {
  TransposeLines<toRows>(lines, n, count, rows, width);
}
#endif

}  // namespace

std::vector<LaneIsa> SupportedLaneIsas() {
  std::vector<LaneIsa> isas{LaneIsa::Baseline};
#ifdef QUON_LANE_ISAS
  if (__builtin_cpu_supports("avx2")) isas.push_back(LaneIsa::Avx2);
  if (__builtin_cpu_supports("avx512f")) isas.push_back(LaneIsa::Avx512);
#endif
  return isas;
}

LaneIsa BestLaneIsa() {
  static const LaneIsa best = SupportedLaneIsas().back();
  return best;
}

std::size_t LaneWidth(LaneIsa isa) {
  switch (isa) {
    case LaneIsa::Avx512:
      return 64;
    case LaneIsa::Avx2:
      return 32;
    case LaneIsa::Baseline:
      break;
  }
  return 16;
}

void SolveLanes(LaneIsa isa, const LanePlan& plan, const LaneRows& rows) {
#ifdef QUON_LANE_ISAS
  if (isa == LaneIsa::Avx512) return SolveAvx512(plan, rows);
  if (isa == LaneIsa::Avx2) return SolveAvx2(plan, rows);
#endif
  (void)isa;
  SolveBaseline(plan, rows);
}

void LinesToRows(LaneIsa isa, const double* lines, std::size_t n, std::size_t count, double* rows,
                 std::size_t width) {
  // Read only: the shared template also writes lines when going the other way.
  auto* source = const_cast<double*>(lines);
#ifdef QUON_LANE_ISAS
  if (isa == LaneIsa::Avx512) return TransposeAvx512<true>(source, n, count, rows, width);
#endif
  (void)isa;
  TransposeBaseline<true>(source, n, count, rows, width);
}

void RowsToLines(LaneIsa isa, const double* rows, std::size_t width, std::size_t n,
                 std::size_t count, double* lines) {
  auto* source = const_cast<double*>(rows);
#ifdef QUON_LANE_ISAS
  if (isa == LaneIsa::Avx512) return TransposeAvx512<false>(lines, n, count, source, width);
#endif
  (void)isa;
  TransposeBaseline<false>(lines, n, count, source, width);
}

}  // namespace quon
