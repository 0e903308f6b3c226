#include "core/eval/accuracy_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/number_text.h"

namespace quon {
namespace {

std::string PointText(const AccuracyResult& result, bool withNames) {
  std::string text;
  for (std::size_t k = 0; k < result.WorstPoint.size(); ++k) {
    if (k > 0) text += withNames ? ", " : ",";
    if (withNames) text += (k < result.Names.size() ? result.Names[k] : std::string()) + "=";
    text += withNames ? ShortForm(result.WorstPoint[k], 4) : TextForm(result.WorstPoint[k]);
  }
  return text;
}

}  // namespace

std::string ShortForm(double value, int digits) {
  if (!std::isfinite(value)) return TextForm(value);
  if (value == 0.0) return "0";
  char buffer[64];
  const auto scientific = std::to_chars(buffer, buffer + sizeof buffer, value,
                                        std::chars_format::scientific, digits - 1);
  std::string text(buffer, scientific.ptr);
  // The exponent of the rounded value decides the form, as in the program's text form.
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  if (exponent >= -4 && exponent < 6) {
    double rounded = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    const auto fixed =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    return std::string(buffer, fixed.ptr);
  }
  std::string mantissa = text.substr(0, e);
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  const int magnitude = std::abs(exponent);
  return mantissa + (exponent < 0 ? "E-" : "E+") + (magnitude < 10 ? "0" : "") +
         std::to_string(magnitude);
}

std::string AccuracySummaryLine(const AccuracyResult& result) {
  if (!result.Checked) return {};
  const int64_t good = result.CheckPoints - result.FailedPoints;
  std::string line = "Between the nodes (" + std::to_string(result.CheckPoints) + " points): ";
  if (good == 0) {
    line += "the function fails at every point";
  } else {
    line += "largest difference " + ShortForm(result.MaxAbsDiff) + " (relative " +
            ShortForm(result.MaxRelDiff) + ") at " + PointText(result, true) + "; RMS " +
            ShortForm(result.RmsDiff);
    if (result.FailedPoints > 0) {
      line += ", " + std::to_string(result.FailedPoints) +
              (result.FailedPoints == 1 ? " point failed" : " points failed");
    }
  }
  if (result.Estimate)
    line += "; estimated from the coefficients " + ShortForm(result.Estimate->Error);
  return line + ".";
}

std::string ConditionWarningText(const ConditionWarning& warning) {
  const std::string kind = KindName(warning.Kind);
  std::string other;
  switch (warning.Kind) {
    case TermKind::Power:
      other = KindName(TermKind::Trigonometric);
      break;
    case TermKind::Trigonometric:
    case TermKind::Chebyshev:
      other = KindName(TermKind::Power);
      break;
  }
  const std::string condition = std::isfinite(warning.Condition)
                                    ? "condition number about " + ShortForm(warning.Condition, 2)
                                    : "singular in floating point";
  return warning.Name + ": the " + std::to_string(warning.Terms) + " " + kind +
         " terms are ill-conditioned (" + condition +
         "), so their coefficients may be far off. Use fewer terms or " + other + " terms.";
}

std::string ConvergenceWarningText(const std::string& name, int32_t terms) {
  return name + ": the " + std::to_string(terms) +
         " Chebyshev terms have not converged (their coefficients do not decay yet); more "
         "terms are needed.";
}

std::vector<std::string> AccuracyWarnings(const AccuracyResult& result) {
  std::vector<std::string> warnings;
  for (const ConditionWarning& warning : result.Warnings) {
    warnings.push_back(ConditionWarningText(warning));
  }
  if (result.Estimate) {
    for (const int32_t k : result.Estimate->Unconverged) {
      const auto s = static_cast<std::size_t>(k);
      warnings.push_back(ConvergenceWarningText(
          s < result.Names.size() ? result.Names[s] : std::string(), result.Terms[s]));
    }
  }
  return warnings;
}

std::vector<std::pair<std::string, std::string>> AccuracyKeyValues(const AccuracyResult& result) {
  // With no point compared, the figures' zeros measured nothing.
  const bool measured = result.FailedPoints < result.CheckPoints;
  const auto figure = [&](double value) {
    return measured ? TextForm(value) : std::string("none (every point failed)");
  };
  std::vector<std::pair<std::string, std::string>> values = {
      {"max_abs_diff", figure(result.MaxAbsDiff)},
      {"max_rel_diff", figure(result.MaxRelDiff)},
      {"rms_diff", figure(result.RmsDiff)},
      {"worst_point", PointText(result, false)},
      {"check_points", std::to_string(result.CheckPoints)},
      {"failed_points", std::to_string(result.FailedPoints)},
  };
  if (result.Estimate) values.emplace_back("estimated_error", TextForm(result.Estimate->Error));
  for (const std::string& warning : AccuracyWarnings(result))
    values.emplace_back("warning", warning);
  return values;
}

}  // namespace quon
