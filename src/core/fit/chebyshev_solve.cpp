#include "core/fit/chebyshev_solve.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/fit/chebyshev_transform.h"
#include "core/parallel/parallel_for.h"

namespace quon {
namespace {

// Lines per panel: thirty-two doubles are four cache lines of adjacent elements, and the
// transform's inner loops run over sixteen pairs of them.
constexpr std::size_t kPanelLines = 32;
// Below this many elements one thread does it all.
constexpr std::size_t kParallelElements = std::size_t{1} << 16;

struct Workspace {
  std::vector<double*> lines;
  std::vector<double> work;
};

}  // namespace

void ChebyshevAlongDimension(CoefArray& coef, int k) {
  const std::size_t n = static_cast<std::size_t>(coef.extent(k));
  if (n <= 1 || coef.empty()) return;
  const std::size_t inner = coef.stride(k);
  const std::size_t lines = coef.size() / n;
  const ChebyshevTransform transform(static_cast<int32_t>(n));
  double* data = coef.data();
  // Line l starts at (l / inner) * inner * n + l % inner; its elements lie `inner` apart.
  const auto start = [&](std::size_t l) { return (l / inner) * inner * n + l % inner; };

  const std::size_t panels = (lines + kPanelLines - 1) / kPanelLines;
  const std::size_t workers = coef.size() < kParallelElements ? 1 : WorkerCount(panels);
  std::vector<Workspace> spaces(workers);
  for (Workspace& w : spaces) w.lines.resize(kPanelLines);
  // A few panels per chunk keep the hand-out counter out of the inner loop.
  const std::size_t perChunk = std::max<std::size_t>(1, panels / (64 * workers));
  const std::size_t chunks = (panels + perChunk - 1) / perChunk;
  ParallelFor(chunks, workers, [&](std::size_t worker, std::size_t chunk) {
    Workspace& w = spaces[worker];
    const std::size_t lastPanel = std::min(panels, (chunk + 1) * perChunk);
    for (std::size_t panel = chunk * perChunk; panel < lastPanel; ++panel) {
      const std::size_t first = panel * kPanelLines;
      const std::size_t count = std::min(kPanelLines, lines - first);
      // Lines of one panel may straddle two runs of dimension k's slices, so each line's
      // start is computed; the transform reads and writes the lines where they are.
      double** at = w.lines.data();
      for (std::size_t p = 0; p < count; ++p) at[p] = data + start(first + p);
      transform.ToCoefficients(at, count, inner, w.work);
    }
  });
}

}  // namespace quon
