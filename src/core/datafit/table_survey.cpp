#include "core/datafit/table_survey.h"

#include <algorithm>
#include <unordered_set>

#include "core/datafit/data_fit.h"
#include "core/datafit/table_passes.h"

namespace quon {
namespace {

struct SurveyLane {
  explicit SurveyLane(const DesignRows& rows)
      : design(rows), seen(static_cast<std::size_t>(rows.Variables())) {}
  DesignRows design;
  std::vector<std::unordered_set<double>> seen;  // up to kGridMaxDistinct + 1 each
  int64_t points = 0;
  int64_t outside = 0;
  DoubleDouble sumW;
  DoubleDouble sumWY;
  bool haveWeight = false;
  bool equalWeights = true;
  double weight = 1.0;

  void Add(const DataBlock& block) {
    const auto nv = static_cast<std::size_t>(design.Variables());
    for (std::size_t i = 0; i < block.Size(); ++i) {
      const double w = block.Weights[i];
      if (haveWeight && w != weight) equalWeights = false;
      haveWeight = true;
      weight = w;
      if (w == 0.0) continue;
      const double* x = &block.Coordinates[i * nv];
      for (std::size_t k = 0; k < nv; ++k) {
        // -0 and 0 are one coordinate.
        if (seen[k].size() <= kGridMaxDistinct) seen[k].insert(x[k] == 0.0 ? 0.0 : x[k]);
      }
      ++points;
      if (!design.Inside(x)) ++outside;
      sumW += w;
      sumWY += TwoProduct(w, block.Values[i]);
    }
  }
};

std::string VariableName(const ProblemModel& model, int k) {
  const std::string& name = model.VarName[static_cast<std::size_t>(k)];
  return name.empty() ? "variable " + std::to_string(k + 1) : name;
}

}  // namespace

bool TableSurvey::MayBeGrid() const {
  if (!EqualWeights || Weight == 0.0) return false;
  double product = 1.0;
  for (const std::vector<double>& values : Distinct) {
    if (values.empty()) return false;
    product *= static_cast<double>(values.size());
  }
  return product == static_cast<double>(Points);
}

TableSurvey SurveyTable(const ProblemModel& model, const DesignRows& design, DataSource& source,
                        const std::string& table) {
  std::vector<SurveyLane> lanes(kLanes, SurveyLane(design));
  ForEachBlock(source, [&](std::size_t lane, const DataBlock& block) { lanes[lane].Add(block); });
  TableSurvey survey;
  const auto nv = static_cast<std::size_t>(design.Variables());
  std::vector<std::unordered_set<double>> seen(nv);
  bool haveWeight = false;
  for (const SurveyLane& lane : lanes) {
    survey.Points += lane.points;
    survey.OutsideBox += lane.outside;
    survey.SumW += lane.sumW;
    survey.SumWY += lane.sumWY;
    if (lane.haveWeight) {
      if (!lane.equalWeights || (haveWeight && lane.weight != survey.Weight)) {
        survey.EqualWeights = false;
      }
      haveWeight = true;
      survey.Weight = lane.weight;
    }
    for (std::size_t k = 0; k < nv; ++k) {
      for (double x : lane.seen[k]) {
        if (seen[k].size() <= kGridMaxDistinct) seen[k].insert(x);
      }
    }
  }
  if (survey.Points == 0) throw PointsFileError(table + ": the table has no observation.");
  for (std::size_t k = 0; k < nv; ++k) {
    const auto terms = static_cast<std::size_t>(design.Geometry(static_cast<int>(k)).LastTerm) + 1;
    if (seen[k].size() < terms) {
      throw DataFitRefused("The table has " + std::to_string(seen[k].size()) +
                           " distinct values of " + VariableName(model, static_cast<int>(k)) +
                           "; its " + std::to_string(terms) + " terms need at least " +
                           std::to_string(terms) + ".");
    }
    std::vector<double> values;
    if (seen[k].size() <= kGridMaxDistinct) {
      values.assign(seen[k].begin(), seen[k].end());
      std::sort(values.begin(), values.end());
    }
    survey.Distinct.push_back(std::move(values));
  }
  return survey;
}

}  // namespace quon
