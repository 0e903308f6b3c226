// Least squares on data: the coefficients of the problem's terms (kinds, intervals,
// centres, periods and numbers of terms as gathered) that minimise the weighted sum of
// squared residuals sum w_i (y_i - f(x_i))^2 over every observation of a table, with the
// diagnostics a statistician expects.
//
// Method: a first pass surveys the table (table_survey.h). The design (design_rows.h),
// each column scaled by a power of two, is then factorised (factorisation.h): through its
// tensor structure when the observations form a full grid, else by a tall-skinny
// Householder QR a block of rows at a time. The solution is refined by corrected
// seminormal equations, each step's residual y - A c and gradient A^T W r summed in
// double-double over a pass through the table with the terms in double-double, the step
// solved with R^T R (A. Bjorck, "Stability analysis of the method of seminormal equations
// for linear least squares problems", Linear Algebra Appl. 88/89, 1987); refinement stops
// when the step is below a few units of roundoff or stops shrinking. The normal equations
// are never formed in double. Standard errors are the residual standard deviation times
// the row norms of R^-1, corrected for small tables (m n^2 up to 2^26) by one step with the
// Gram matrix summed in double-double; the condition is the 1-norm condition of R with its
// columns scaled to unit norm (within a factor n of the 2-norm condition of the scaled
// design).
//
// Accuracy: on the certified polynomial datasets of the statistical reference suite
// (tests/data/strd), 12.6 or more correct digits in every coefficient and standard error
// and 13.7 or more in the residual standard deviation (Filip, degree 10: 13.4, 12.8 and
// 14.1). Elsewhere the coefficients are as accurate as the data determine them, up to a
// condition of about 1E+14; the standard errors of large tables have a relative error of
// about the roundoff times the condition. Cost: 2 m n^2 flops for scattered data (about
// 2 m n_k per variable on a grid), some 40 m n per refinement pass (two or three passes),
// n^3 / 3 for R^-1; memory O(n^2) whatever the number of rows m (a grid holds its m
// values too). Refusals (DataFitRefused): more than MaxDataFitColumns terms, fewer distinct
// coordinates along a variable than its terms, a design that is rank-deficient (condition
// beyond 1 / eps), terms that overflow at an observation, coefficients or sums that overflow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "core/datafit/data_table.h"
#include "core/model/problem_model.h"

namespace quon {

// A table that the problem's terms cannot be fitted to. what() is a message for the user.
class DataFitRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The most terms (columns of the design) a fit on data takes: R alone is then 128 MiB.
inline constexpr std::size_t MaxDataFitColumns = 4096;

// Called once per observation after the fit, in table order, with its row, coordinates,
// value and residual (value minus approximation).
using ResidualVisitor =
    std::function<void(int64_t row, const double* coordinates, double value, double residual)>;

// Fits the model's gathered specification to the observations of `source` (its variables
// those in use) and stores the coefficients in Coef (HaveResults true, Origin Data, the
// diagnostics in DataFit with `table` as its Table). Throws DataFitRefused, PointsFileError
// (a bad row, no observation) or GridTooLarge, leaving HaveResults false.
void FitData(ProblemModel& model, DataSource& source, const std::string& table,
             const ResidualVisitor& visit = {});

}  // namespace quon
