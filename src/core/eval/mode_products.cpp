#include "core/eval/mode_products.h"

#include <algorithm>
#include <stdexcept>

namespace quon {
namespace {

// The extents of the array being reduced: dimension k holds either the terms of variable k
// (not yet summed) or its rows (summed).
using Extents = std::array<std::size_t, 4>;

// Elements of a line summed together: with up to a few dozen source lines of the same
// width, small enough for the second-level cache.
constexpr std::size_t kTile = 512;

// out(.., i, ..) = sum over m of terms(i, m) in(.., m, ..) along dimension k, where terms
// is row-major with `rows` rows of extents[k] columns.
void ModeProduct(const double* in, Extents& extents, int k, const std::vector<double>& terms,
                 std::size_t rows, std::vector<double>& out) {
  const auto s = static_cast<std::size_t>(k);
  std::size_t inner = 1;
  for (std::size_t d = 0; d < s; ++d) inner *= extents[d];
  std::size_t outer = 1;
  for (std::size_t d = s + 1; d < 4; ++d) outer *= extents[d];
  const std::size_t n = extents[s];
  out.assign(inner * rows * outer, 0.0);
  if (inner == 1) {
    // The first variable: each sum runs over adjacent elements.
    for (std::size_t o = 0; o < outer; ++o) {
      const double* source = in + o * n;
      for (std::size_t i = 0; i < rows; ++i) {
        const double* t = terms.data() + i * n;
        double sum = 0.0;
        for (std::size_t m = 0; m < n; ++m) sum += t[m] * source[m];
        out[o * rows + i] = sum;
      }
    }
    extents[s] = rows;
    return;
  }
  // The lines are taken a tile at a time, so that the n source tiles a row sums stay in
  // the cache for every row instead of streaming from memory once per row; each sum still
  // adds its terms in ascending m.
  for (std::size_t o = 0; o < outer; ++o) {
    const double* source = in + o * n * inner;
    double* target = out.data() + o * rows * inner;
    for (std::size_t from = 0; from < inner; from += kTile) {
      const std::size_t width = std::min(kTile, inner - from);
      for (std::size_t i = 0; i < rows; ++i) {
        double* line = target + i * inner + from;
        for (std::size_t m = 0; m < n; ++m) {
          const double t = terms[i * n + m];
          const double* tile = source + m * inner + from;
          for (std::size_t q = 0; q < width; ++q) line[q] += t * tile[q];
        }
      }
    }
  }
  extents[s] = rows;
}

}  // namespace

std::vector<double> CoefficientModeProducts(const ProblemModel& model,
                                            const std::array<WeightRows, MaxVars>& weights) {
  ModeProductScratch scratch;
  CoefficientModeProducts(model, weights, scratch);
  return std::move(scratch.Result);
}

const std::vector<double>& CoefficientModeProducts(const ProblemModel& model,
                                                   const std::array<WeightRows, MaxVars>& weights,
                                                   ModeProductScratch& scratch) {
  const int vars = VariableCount(model);
  Extents extents{};
  for (int k = 0; k < 4; ++k) {
    const auto s = static_cast<std::size_t>(k);
    const int32_t terms = model.LastTerm[s] + 1;
    if (model.Coef.empty() || model.Coef.extent(k) != terms || (k >= vars && terms != 1) ||
        (k < vars &&
         (weights[s].Rows == 0 ||
          weights[s].Values.size() != weights[s].Rows * static_cast<std::size_t>(terms)))) {
      throw std::logic_error("The coefficients do not match the variables' numbers of terms.");
    }
    extents[s] = static_cast<std::size_t>(terms);
  }
  // Reduce first the variables that shrink the array most, so that the intermediate sums
  // stay small; of equal ones the last variable first: its lines are the longest in
  // memory, which keeps the inner loops long while the array is large.
  std::array<int, 4> order{3, 2, 1, 0};
  std::rotate(order.begin(), order.begin() + (4 - vars), order.end());
  std::stable_sort(order.begin(), order.begin() + vars, [&](int a, int b) {
    const auto sa = static_cast<std::size_t>(a);
    const auto sb = static_cast<std::size_t>(b);
    return static_cast<double>(weights[sa].Rows) / static_cast<double>(extents[sa]) <
           static_cast<double>(weights[sb].Rows) / static_cast<double>(extents[sb]);
  });
  // The products alternate between the two arrays, the last one ending in Result; the first
  // reads the coefficients where they are, without a copy.
  for (int i = 0; i < vars; ++i) {
    const int k = order[static_cast<std::size_t>(i)];
    const auto s = static_cast<std::size_t>(k);
    const bool intoResult = (vars - i) % 2 == 1;
    std::vector<double>& from = intoResult ? scratch.Other : scratch.Result;
    ModeProduct(i == 0 ? model.Coef.data() : from.data(), extents, k, weights[s].Values,
                weights[s].Rows, intoResult ? scratch.Result : scratch.Other);
  }
  return scratch.Result;
}

}  // namespace quon
