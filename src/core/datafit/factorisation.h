// The triangular factor of a fit on data's design, two ways. Both scale every column of
// the design by a power of two (exactly) and give R of the weighted, scaled design
// W^1/2 A D, with the first approximation z of its least-squares solution (the
// coefficients are D z), for data_fit.cpp to refine.
//
// Scattered data: a tall-skinny Householder QR over the rows (tall_skinny_qr.h), 2 m n^2
// flops, the scales from the first block's largest magnitudes.
//
// A full grid (every combination of the distinct coordinates exactly once, equal weights):
// the design is the Kronecker product of the variables' own designs A_k (one row per
// distinct coordinate), so R is the Kronecker product of their R_k and the solution is
// the values' tensor with the pseudo-inverse R_k^-1 Q_k^T applied along each variable
// (G. H. Golub, C. F. Van Loan, Matrix Computations, 4th ed., 12.3). Cost: a small QR per
// variable and about 2 m n_k flops per variable instead of 2 m n^2; memory: the values'
// tensor (m doubles) and R. Returns nothing when an observation repeats a grid point.
#pragma once

#include <Eigen/Dense>
#include <optional>
#include <string>
#include <vector>

#include "core/datafit/data_table.h"
#include "core/datafit/design_rows.h"
#include "core/datafit/table_survey.h"

namespace quon {

struct Factorisation {
  Eigen::MatrixXd R;          // n x n upper triangular
  Eigen::VectorXd Z;          // the scaled least-squares solution, to be refined
  std::vector<double> Scale;  // the power of two of each column
};

// Throws DataFitRefused when the terms overflow at an observation.
Factorisation FactoriseScattered(const DesignRows& design, DataSource& source);

std::optional<Factorisation> FactoriseGrid(const DesignRows& design, DataSource& source,
                                           const TableSurvey& survey);

}  // namespace quon
