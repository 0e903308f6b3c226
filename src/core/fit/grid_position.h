// A point of the grid of nodes walked in the canonical order (the first variable's node
// index fastest), as a position in Coef and the node index of each variable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/model/coef_array.h"

namespace quon {

class GridPosition {
 public:
  // The point at canonical position n of the array's grid.
  GridPosition(const CoefArray& coef, std::size_t n) {
    for (int k = 0; k < 4; ++k) {
      const auto extent = static_cast<std::size_t>(coef.extent(k));
      last_[static_cast<std::size_t>(k)] = coef.extent(k) - 1;
      node_[static_cast<std::size_t>(k)] = static_cast<int32_t>(n % extent);
      n /= extent;
    }
  }

  int32_t node(int k) const { return node_[static_cast<std::size_t>(k)]; }

  // Moves to the next point; returns the outermost variable whose node index changed (the
  // variables inside it start again at node 0). Past the last point the result is 3.
  int Advance() {
    for (std::size_t k = 0; k < 4; ++k) {
      if (node_[k] < last_[k]) {
        ++node_[k];
        return static_cast<int>(k);
      }
      node_[k] = 0;
    }
    return 3;
  }

 private:
  std::array<int32_t, 4> node_{};
  std::array<int32_t, 4> last_{};
};

}  // namespace quon
