#include "core/eval/grid_approximation.h"

#include "core/eval/mode_products.h"
#include "core/eval/variable_terms.h"
#include "core/model/node_geometry.h"

namespace quon {

std::vector<double> ApproximationOnGrid(const ProblemModel& model,
                                        const std::array<std::vector<double>, 4>& coords) {
  std::array<WeightRows, MaxVars> terms;
  for (int k = 0; k < VariableCount(model); ++k) {
    const auto s = static_cast<std::size_t>(k);
    const NodeGeometry geometry = VariableGeometry(model, k);
    terms[s].Rows = coords[s].size();
    terms[s].Values.reserve(coords[s].size() * (static_cast<std::size_t>(geometry.LastTerm) + 1));
    for (const double x : coords[s]) {
      const std::vector<double> row = TermValues(geometry, x);
      terms[s].Values.insert(terms[s].Values.end(), row.begin(), row.end());
    }
  }
  return CoefficientModeProducts(model, terms);
}

}  // namespace quon
