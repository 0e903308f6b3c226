#include "core/report/fit_statistics.h"

#include "core/report/term_label.h"
#include "engine/number_text.h"

namespace quon {

std::string CoefficientLabel(const ProblemModel& model, std::size_t position) {
  std::string label;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto extent = static_cast<std::size_t>(model.Coef.extent(k));
    label += TermFactor(model, k, static_cast<int32_t>(position % extent));
    position /= extent;
  }
  return label.empty() ? "1" : label;
}

std::string DataFitSummaryLine(const ProblemModel& model) {
  const DataFitSummary& fit = model.DataFit;
  return "Fitted to " + std::to_string(fit.Points) + " observations (" +
         std::to_string(fit.OutsideBox) + " outside the box): residual s.d. " +
         TextForm(fit.ResidualSd) + ", R squared " + TextForm(fit.RSquared) +
         ", largest residual " + TextForm(fit.MaxResidual) + " at row " +
         std::to_string(fit.WorstRow) + ", condition " + TextForm(fit.Condition) + ".";
}

std::vector<StatisticsLine> DataFitStatistics(const ProblemModel& model) {
  const DataFitSummary& fit = model.DataFit;
  std::vector<StatisticsLine> lines = {
      {"points", std::to_string(fit.Points)},
      {"outside_box", std::to_string(fit.OutsideBox)},
      {"residual_sd", SeventeenDigits(fit.ResidualSd)},
      {"r_squared", SeventeenDigits(fit.RSquared)},
      {"max_residual", SeventeenDigits(fit.MaxResidual)},
      {"worst_row", std::to_string(fit.WorstRow)},
      {"condition", SeventeenDigits(fit.Condition)},
  };
  for (std::size_t j = 0; j < model.Coef.size(); ++j) {
    const double error = j < fit.StandardErrors.size() ? fit.StandardErrors[j] : 0.0;
    lines.emplace_back("coefficient", CoefficientLabel(model, j) + " " +
                                          SeventeenDigits(model.Coef.data()[j]) + " " +
                                          SeventeenDigits(error));
  }
  return lines;
}

}  // namespace quon
