// What the residual plot of a fit on data shows: the residuals of the first rows of the
// table (at most a fixed number, so that a table of millions of rows costs a fixed amount
// of memory), and the rows with the largest residuals, wherever they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quon {

struct ResidualPoint {
  int64_t Row = 0;
  std::vector<double> Coordinates;
  double Residual = 0.0;
};

class ResidualSample {
 public:
  ResidualSample(std::size_t kept, std::size_t worst) : kept_(kept), worst_(worst) {}

  // One observation (a ResidualVisitor of data_fit.h).
  void Add(int64_t row, const double* coordinates, int variables, double residual);

  const std::vector<ResidualPoint>& Points() const { return points_; }
  // The rows with the largest |residual|, largest first.
  const std::vector<ResidualPoint>& Worst() const { return worstPoints_; }

 private:
  std::size_t kept_;
  std::size_t worst_;
  std::vector<ResidualPoint> points_;
  std::vector<ResidualPoint> worstPoints_;
};

}  // namespace quon
