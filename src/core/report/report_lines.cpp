#include "core/report/report_lines.h"

#include "core/model/node_geometry.h"
#include "core/report/fit_statistics.h"
#include "core/report/listing.h"
#include "engine/number_text.h"

namespace quon {
namespace {

// A number item of a print line: the print form and one blank.
std::string NumberItem(double value) { return PrintForm(value) + " "; }

const char* TypeText(TermKind kind) {
  switch (kind) {
    case TermKind::Power:
      return "POLYNOMIAL";
    case TermKind::Trigonometric:
      return "TRIGONOMETRIC";
    case TermKind::Chebyshev:
      return "CHEBYSHEV";
  }
  return "";
}

void VariableBlock(const ProblemModel& model, std::size_t i,
                   const std::function<void(const std::string&)>& lineSink) {
  const std::string name = i < model.VarName.size() ? model.VarName[i] : std::string();
  lineSink("");
  lineSink("           VARIABLE: " + name);
  lineSink(std::string("               TYPE: ") + TypeText(model.Kind[i]));
  lineSink("         # OF TERMS:" + NumberItem(static_cast<double>(model.LastTerm[i]) + 1));
  lineSink("           INTERVAL: [" + NumberItem(model.LowerLimit[i]) + "," +
           NumberItem(model.UpperLimit[i]) + "]");
  if (UsesCenter(model.Kind[i])) {
    lineSink("CENTER OF EXPANSION:" + NumberItem(model.Center[i]));
  } else {
    // The argument of the Chebyshev polynomials: s = (x - m) / r maps the interval on [-1, 1].
    const NodeGeometry g = VariableGeometry(model, static_cast<int>(i));
    const std::string shift =
        g.Middle < 0 ? " + " + TextForm(-g.Middle) : " - " + TextForm(g.Middle);
    lineSink("                MAP: s = (" + name + shift + ") / " + TextForm(g.HalfWidth));
  }
  if (UsesPeriod(model.Kind[i])) lineSink("             PERIOD:" + NumberItem(model.Period[i]));
}

}  // namespace

void ReportLines(const ProblemModel& model, std::string_view equation,
                 const std::vector<std::string>& constantItems,
                 const std::function<void(const std::string&)>& lineSink) {
  lineSink("FUNCTION:");
  lineSink(std::string(equation));
  if (model.ConstCount != 0) {
    lineSink("");
    lineSink("CONSTANTS:");
    for (const std::string& item : constantItems) lineSink(item);
  }
  for (std::size_t i = 0; i < static_cast<std::size_t>(VariableCount(model)); ++i) {
    VariableBlock(model, i, lineSink);
  }
  // The coefficient section is the listing of the window after one empty line: the same
  // heading, order, term lines and empty lines after each run of the first three indices.
  if (model.HaveResults) {
    lineSink("");
    ListCoefficients(model, lineSink, [] {});
  }
  // A fit on data: its table and diagnostics after the coefficients.
  if (model.HaveResults && model.Origin == ResultsOrigin::Data) {
    lineSink("");
    lineSink("FITTED TO THE DATA OF " + model.DataFit.Table + ":");
    for (const auto& [key, value] : DataFitStatistics(model)) lineSink(key + ": " + value);
  }
}

}  // namespace quon
