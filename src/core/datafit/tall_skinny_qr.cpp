#include "core/datafit/tall_skinny_qr.h"

#include <algorithm>
#include <cmath>

namespace quon {
namespace {

// Rows per block: about four times the columns (the cost of refactoring R then adds a
// quarter), at least 256, and the stack at most 64 MiB unless the columns alone need more.
std::size_t BlockRowsFor(std::size_t width) {
  const std::size_t budget = (std::size_t{64} << 20) / sizeof(double) / width;
  return std::max<std::size_t>(std::max<std::size_t>(width, 256),
                               std::min<std::size_t>(4 * width, budget));
}

}  // namespace

TallSkinnyQr::TallSkinnyQr(std::size_t columns)
    : columns_(columns), blockRows_(BlockRowsFor(columns + 1)) {
  const auto width = static_cast<Eigen::Index>(columns_ + 1);
  stack_ = Eigen::MatrixXd::Zero(width + static_cast<Eigen::Index>(blockRows_), width);
}

void TallSkinnyQr::AddRow(const double* a, double rhs) {
  const auto width = static_cast<Eigen::Index>(columns_ + 1);
  const Eigen::Index row = width + static_cast<Eigen::Index>(pending_);
  for (Eigen::Index j = 0; j + 1 < width; ++j) stack_(row, j) = a[j];
  stack_(row, width - 1) = rhs;
  if (++pending_ == blockRows_) Merge();
}

void TallSkinnyQr::Merge() {
  if (pending_ == 0) return;
  const auto width = static_cast<Eigen::Index>(columns_ + 1);
  const Eigen::Index rows = width + static_cast<Eigen::Index>(pending_);
  // Before the first merge the top rows are zero: the stack's R is then that of the block.
  Eigen::Ref<Eigen::MatrixXd> stack = stack_.topRows(rows);
  Eigen::HouseholderQR<Eigen::Ref<Eigen::MatrixXd>> qr(stack);
  // The factorisation left R in the upper triangle and its reflectors below: clear them,
  // so that the top rows hold R alone for the next merge.
  for (Eigen::Index j = 0; j < width; ++j) {
    stack_.col(j).segment(j + 1, rows - j - 1).setZero();
  }
  pending_ = 0;
}

void TallSkinnyQr::Finish() { Merge(); }

Eigen::MatrixXd TallSkinnyQr::R() const {
  const auto n = static_cast<Eigen::Index>(columns_);
  return stack_.topLeftCorner(n, n).triangularView<Eigen::Upper>();
}

Eigen::VectorXd TallSkinnyQr::QtB() const {
  const auto n = static_cast<Eigen::Index>(columns_);
  return stack_.col(n).head(n);
}

double TallSkinnyQr::ResidualNorm() const {
  const auto n = static_cast<Eigen::Index>(columns_);
  return std::fabs(stack_(n, n));
}

}  // namespace quon
