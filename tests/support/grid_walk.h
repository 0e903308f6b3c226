// Walking a grid of nodes (or of coefficients) in the canonical order, the first index
// fastest, the order in which the fit samples and Coef stores.
#pragma once

#include <array>
#include <cstdint>

namespace quon::testing {

using NodeIndex = std::array<int32_t, 4>;

// Calls visit(j) for every j with 0 <= j[k] <= last[k].
template <typename Visit>
void ForEachNode(const NodeIndex& last, Visit&& visit) {
  NodeIndex j{};
  for (j[3] = 0; j[3] <= last[3]; ++j[3])
    for (j[2] = 0; j[2] <= last[2]; ++j[2])
      for (j[1] = 0; j[1] <= last[1]; ++j[1])
        for (j[0] = 0; j[0] <= last[0]; ++j[0]) visit(static_cast<const NodeIndex&>(j));
}

}  // namespace quon::testing
