// The triangular factor R of a tall matrix [A b] (many rows, few columns) accumulated
// block by block, so that the rows need never be held together: each block of rows is
// stacked under the R so far and the stack is factorised again, R becoming the R of the
// stack ("tall-skinny QR"). Q is not kept; its transpose applied to b is R's last column.
//
// Factorisations are Eigen's Householder QR (HouseholderQR, blocked). Cost: about
// 2 (B + c) c^2 flops per block of B rows with c = columns + 1, so 2 m c^2 (1 + c / B)
// for m rows; memory (c + B) c doubles, B chosen about 4 c. Accuracy: that of Householder
// QR on the whole matrix, a backward error of a few units of roundoff times the norm of
// each column; a column scaled by a power of two is factorised exactly as scaled. Source:
// J. Demmel, L. Grigori, M. Hoemmen, J. Langou, "Communication-optimal parallel and
// sequential QR and LU factorizations", SIAM J. Sci. Comput. 34 (2012); G. H. Golub,
// C. F. Van Loan, Matrix Computations, 4th ed., 5.2.
#pragma once

#include <Eigen/Dense>
#include <cstddef>

namespace quon {

class TallSkinnyQr {
 public:
  // A with `columns` columns, b one more.
  explicit TallSkinnyQr(std::size_t columns);

  // Appends the row (a, rhs) with `columns` entries at a.
  void AddRow(const double* a, double rhs);

  // Folds in the rows still pending. Call before reading the results.
  void Finish();

  // R of A (upper triangular, columns x columns) and Q^T b (its first `columns` entries).
  Eigen::MatrixXd R() const;
  Eigen::VectorXd QtB() const;
  // The norm of the part of b outside the range of A: the least-squares residual's norm.
  double ResidualNorm() const;

 private:
  void Merge();

  std::size_t columns_;
  std::size_t blockRows_;
  std::size_t pending_ = 0;
  Eigen::MatrixXd stack_;  // rows 0..columns: R of [A b] so far; below: pending rows
};

}  // namespace quon
