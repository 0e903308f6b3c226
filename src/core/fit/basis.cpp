#include "core/fit/basis.h"

#include <cmath>

#include "core/model/coef_array.h"

namespace quon {

BasisMatrix BuildBasisMatrix(const ProblemModel& model, int k) {
  const auto s = static_cast<std::size_t>(k);
  const int32_t last = model.LastTerm[s];
  CheckBasisMatrixSize(int64_t{last} + 1);
  BasisMatrix m(last + 1);
  const bool trig = model.IsTrig[s];
  const double omega = trig ? 8.0 * std::atan(1.0) / model.Period[s] : 1.0;
  const double step = model.NodeStep[s];
  const double start = model.NodeStart[s];
  for (int32_t j = 0; j <= last; ++j) {
    double* row = m.row(j);
    row[0] = 1.0;
    const double nodeArg = (static_cast<double>(j) * step + start) * omega;
    if (!trig) {
      double powerTerm = 1.0;
      for (int32_t c = 1; c <= last; ++c) {
        powerTerm = powerTerm * nodeArg;
        row[c] = powerTerm;
      }
    } else {
      double angle = nodeArg;
      for (int32_t c = 1; c <= last; ++c) {
        if (c % 2 == 1) {
          row[c] = std::sin(angle);
        } else {
          row[c] = std::cos(angle);
          angle = angle + nodeArg;
        }
      }
    }
  }
  return m;
}

}  // namespace quon
