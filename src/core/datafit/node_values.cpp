#include "core/datafit/node_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/batch/csv_fields.h"
#include "core/datafit/data_table.h"
#include "core/fit/fit_driver.h"
#include "core/model/gather_specs.h"
#include "core/model/names_in_use.h"
#include "core/model/node_geometry.h"
#include "core/model/results_state.h"
#include "engine/number_text.h"

namespace quon {
namespace {

constexpr double kNodeTolerance = 1e-12;

// One variable's nodes sorted by coordinate (whatever order the kind gives them), for
// matching a coordinate read back with its node.
class NodeIndex {
 public:
  explicit NodeIndex(const NodeGeometry& g)
      : tolerance_(kNodeTolerance * std::fabs(g.UpperLimit - g.LowerLimit)) {
    for (int32_t j = 0; j <= g.LastTerm; ++j) sorted_.emplace_back(g.Node(j), j);
    std::sort(sorted_.begin(), sorted_.end());
  }

  // The index of the node within the tolerance of x, or -1.
  int32_t Find(double x) const {
    const auto at = std::lower_bound(sorted_.begin(), sorted_.end(), std::make_pair(x, INT32_MIN));
    int32_t best = -1;
    double distance = tolerance_;
    for (auto it : {at, at == sorted_.begin() ? at : at - 1}) {
      if (it == sorted_.end()) continue;
      if (std::fabs(it->first - x) <= distance) {
        distance = std::fabs(it->first - x);
        best = it->second;
      }
    }
    return best;
  }

 private:
  double tolerance_;
  std::vector<std::pair<double, int32_t>> sorted_;
};

std::string NodeText(const ProblemModel& model, const std::array<int32_t, MaxVars>& index) {
  std::string text;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    text += (k == 0 ? "" : ", ") + model.VarName[s] + " = " +
            TextForm(VariableGeometry(model, k).Node(index[s]));
  }
  return text;
}

}  // namespace

void WriteNodesTable(const ProblemModel& model,
                     const std::function<void(const std::string&)>& sink) {
  const int variables = VariableCount(model);
  std::string header;
  for (int k = 0; k < variables; ++k)
    header += (k == 0 ? "" : ",") + model.VarName[static_cast<std::size_t>(k)];
  sink(header);
  std::array<NodeGeometry, MaxVars> geometry{};
  for (int k = 0; k < variables; ++k)
    geometry[static_cast<std::size_t>(k)] = VariableGeometry(model, k);
  std::array<int32_t, MaxVars> index{};
  std::string line;
  for (;;) {
    line.clear();
    for (int k = 0; k < variables; ++k) {
      const auto s = static_cast<std::size_t>(k);
      line += (k == 0 ? "" : ",") + SeventeenDigits(geometry[s].Node(index[s]));
    }
    sink(line);
    int k = 0;
    while (k < variables &&
           ++index[static_cast<std::size_t>(k)] > geometry[static_cast<std::size_t>(k)].LastTerm) {
      index[static_cast<std::size_t>(k)] = 0;
      ++k;
    }
    if (k == variables) return;
  }
}

void ReadNodeValues(ProblemModel& model, const std::string& path) {
  const int variables = VariableCount(model);
  const std::vector<std::string> names = NamesInUse(model);
  std::vector<NodeIndex> nodes;
  for (int k = 0; k < variables; ++k) nodes.emplace_back(VariableGeometry(model, k));

  CsvLineReader reader(path);
  std::string_view line;
  int64_t row = 0;
  if (!reader.Next(line, row)) {
    throw PointsFileError(path +
                          ": the table is empty; it needs a header row naming the "
                          "variables and value.");
  }
  const DataColumns columns =
      ColumnsFromHeader(SplitCsvFields(line), names, std::nullopt, path, row);
  std::vector<bool> seen(model.Coef.size(), false);
  std::vector<int64_t> rowOf(model.Coef.size(), 0);
  while (reader.Next(line, row)) {
    const std::vector<std::string> fields = SplitCsvFields(line);
    if (fields.size() != columns.Count) {
      FailAtField(path, row, std::min(fields.size(), columns.Count),
                  fields.size() < columns.Count
                      ? "the row has fewer values than the header has names."
                      : "the row has more values than the header has names.");
    }
    const auto number = [&](std::size_t column, const std::string& what) {
      const auto value = CsvFieldNumber(fields[column]);
      if (!value)
        FailAtField(path, row, column, FieldNumberProblem(fields[column]) + " (" + what + ").");
      return *value;
    };
    std::array<int32_t, MaxVars> index{};
    for (int k = 0; k < variables; ++k) {
      const auto s = static_cast<std::size_t>(k);
      const double x = number(columns.Variable[s], names[s]);
      index[s] = nodes[s].Find(x);
      if (index[s] < 0) {
        FailAtField(path, row, columns.Variable[s],
                    names[s] + " = " + RoundTripText(x) + " is no node of the grid.");
      }
    }
    const std::size_t at = model.Coef.offset(index[0], index[1], index[2], index[3]);
    if (seen[at]) {
      FailAtField(path, row, columns.Variable[0],
                  "the node " + NodeText(model, index) + " has a row already (row " +
                      std::to_string(rowOf[at]) + ").");
    }
    seen[at] = true;
    rowOf[at] = row;
    model.Coef.data()[at] = number(columns.Value, ValueColumnName);
  }
  const auto missing = std::find(seen.begin(), seen.end(), false);
  if (missing != seen.end()) {
    std::size_t at = static_cast<std::size_t>(missing - seen.begin());
    std::array<int32_t, MaxVars> index{};
    for (int k = 0; k < variables; ++k) {
      const auto s = static_cast<std::size_t>(k);
      index[s] = static_cast<int32_t>(at % static_cast<std::size_t>(model.Coef.extent(k)));
      at /= static_cast<std::size_t>(model.Coef.extent(k));
    }
    throw PointsFileError(path + ": the node " + NodeText(model, index) +
                          " has no row (the table has " + std::to_string(row) + " rows).");
  }
}

SolveOutcome FitNodeValues(ProblemModel& model, const EntryFields& fields,
                           const std::string& path) {
  ClearResults(model);
  model.HaveResults = false;
  GatherSpecs(model, fields);
  ReadNodeValues(model, path);
  const SolveOutcome outcome = SolveSamples(model);
  if (outcome == SolveOutcome::Solved) {
    model.Origin = ResultsOrigin::NodeValues;
    model.HaveResults = true;
  }
  return outcome;
}

}  // namespace quon
