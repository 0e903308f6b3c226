#include "core/fit/basis.h"

#include <cmath>

#include "core/model/coef_array.h"
#include "core/model/node_geometry.h"

namespace quon {

BasisMatrix BuildBasisMatrix(const ProblemModel& model, int k) {
  const NodeGeometry g = VariableGeometry(model, k);
  const int32_t last = g.LastTerm;
  CheckBasisMatrixSize(int64_t{last} + 1);
  BasisMatrix m(last + 1);
  for (int32_t j = 0; j <= last; ++j) {
    double* row = m.row(j);
    row[0] = 1.0;
    const double nodeArg = g.NodeArgument(j);
    switch (g.Kind) {
      case TermKind::Power: {
        double powerTerm = 1.0;
        for (int32_t c = 1; c <= last; ++c) {
          powerTerm = powerTerm * nodeArg;
          row[c] = powerTerm;
        }
        break;
      }
      case TermKind::Trigonometric: {
        double angle = nodeArg;
        for (int32_t c = 1; c <= last; ++c) {
          if (c % 2 == 1) {
            row[c] = std::sin(angle);
          } else {
            row[c] = std::cos(angle);
            angle = angle + nodeArg;
          }
        }
        break;
      }
      case TermKind::Chebyshev: {
        // T_(c+1) = 2 s T_c - T_(c-1): the three-term recurrence.
        double previous = 1.0;
        double current = nodeArg;
        for (int32_t c = 1; c <= last; ++c) {
          row[c] = current;
          const double next = 2.0 * nodeArg * current - previous;
          previous = current;
          current = next;
        }
        break;
      }
    }
  }
  return m;
}

}  // namespace quon
