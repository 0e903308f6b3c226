#include "core/datafit/residual_sample.h"

#include <algorithm>
#include <cmath>

namespace quon {

void ResidualSample::Add(int64_t row, const double* coordinates, int variables, double residual) {
  ResidualPoint point{row, std::vector<double>(coordinates, coordinates + variables), residual};
  const auto larger = [](const ResidualPoint& a, const ResidualPoint& b) {
    return std::fabs(a.Residual) > std::fabs(b.Residual);
  };
  if (worstPoints_.size() < worst_ || larger(point, worstPoints_.back())) {
    worstPoints_.insert(std::upper_bound(worstPoints_.begin(), worstPoints_.end(), point, larger),
                        point);
    if (worstPoints_.size() > worst_) worstPoints_.pop_back();
  }
  if (points_.size() < kept_) points_.push_back(std::move(point));
}

}  // namespace quon
