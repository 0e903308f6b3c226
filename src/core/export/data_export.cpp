#include "core/export/data_export.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>

#include "core/export/csv_field.h"
#include "core/model/node_geometry.h"
#include "core/report/term_label.h"
#include "engine/number_text.h"

namespace quon {
namespace {

void RequireResults(const ProblemModel& model) {
  if (!model.HaveResults || model.Coef.empty()) {
    throw ExportError("There are no results to export: compute the fit first.");
  }
}

// NaN and infinities have no JSON number; they become null.
nlohmann::json Number(double value) {
  return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

nlohmann::json AccuracyJson(const AccuracyResult& result) {
  nlohmann::json worst = nlohmann::json::array();
  for (double x : result.WorstPoint) worst.push_back(Number(x));
  return {{"max_abs_diff", Number(result.MaxAbsDiff)}, {"max_rel_diff", Number(result.MaxRelDiff)},
          {"rms_diff", Number(result.RmsDiff)},        {"worst_point", worst},
          {"check_points", result.CheckPoints},        {"failed_points", result.FailedPoints}};
}

}  // namespace

std::string CsvExport(const ProblemModel& model) {
  RequireResults(model);
  const int count = VariableCount(model);
  std::string out;
  for (int k = 0; k < count; ++k) out += CsvField(model.VarName[static_cast<std::size_t>(k)]) + ",";
  out += "term,coefficient\n";
  std::array<int32_t, 4> index{};
  for (std::size_t i = 0; i < model.Coef.size(); ++i) {
    std::size_t rest = i;
    std::string label;
    for (int k = 0; k < 4; ++k) {
      const auto extent = static_cast<std::size_t>(model.Coef.extent(k));
      index[static_cast<std::size_t>(k)] = static_cast<int32_t>(rest % extent);
      rest /= extent;
    }
    for (int k = 0; k < count; ++k) {
      out += std::to_string(index[static_cast<std::size_t>(k)]) + ",";
      label += MappedTermFactor(model, k, index[static_cast<std::size_t>(k)]);
    }
    out += CsvField(label) + "," + SeventeenDigits(model.Coef.data()[i]) + "\n";
  }
  return out;
}

std::string JsonExport(const ProblemModel& model, const ExportInfo& info) {
  RequireResults(model);
  nlohmann::json variables = nlohmann::json::array();
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    nlohmann::json variable = {{"name", model.VarName[s]},
                               {"kind", KindName(model.Kind[s])},
                               {"lower", Number(model.LowerLimit[s])},
                               {"upper", Number(model.UpperLimit[s])},
                               {"center", Number(model.Center[s])},
                               {"period", Number(model.Period[s])},
                               {"terms", model.Coef.extent(k)}};
    if (!UsesCenter(model.Kind[s])) {
      // Chebyshev terms T_j(s) of s = (x - middle) / half_width.
      const NodeGeometry g = VariableGeometry(model, k);
      variable["map"] = {{"middle", Number(g.Middle)}, {"half_width", Number(g.HalfWidth)}};
    }
    variables.push_back(std::move(variable));
  }
  nlohmann::json coefficients = nlohmann::json::array();
  for (std::size_t i = 0; i < model.Coef.size(); ++i) {
    coefficients.push_back(Number(model.Coef.data()[i]));
  }
  const nlohmann::json document = {
      {"function", model.Equation},
      {"constants", info.Constants},
      {"variables", variables},
      {"coefficients", coefficients},
      {"accuracy", info.Accuracy ? AccuracyJson(*info.Accuracy) : nlohmann::json(nullptr)}};
  // Texts from older files may hold bytes that are not UTF-8; they are replaced, not refused.
  return document.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace quon
