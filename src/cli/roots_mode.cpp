// quonfit FILE --roots VAR [--at VALUE...].
#include "cli/analysis_modes.h"
#include "cli/cli_output.h"
#include "cli/key_value_output.h"
#include "core/analysis/roots.h"
#include "core/eval/plot_series.h"
#include "core/model/variable_names.h"
#include "engine/number_text.h"

namespace quon::cli {

int RunRootsMode(const AnalysisOptions& options, const ProblemModel& model, std::FILE* out,
                 std::FILE* err) {
  const int vars = VariableCount(model);
  int var = 0;
  while (var + 1 < vars &&
         !SameVariableName(model.VarName[static_cast<std::size_t>(var)], options.Variable)) {
    ++var;
  }
  // The others at the --at values, in order; the variable's own entry is not used.
  std::vector<double> point = CentrePoint(model);
  if (options.HaveAt) {
    std::vector<double> others = options.At;
    if (others.size() + 1 == point.size()) others.insert(others.begin() + var, 0.0);
    point = others;
  }
  const RealRoots found = RootsAlong(model, var, point);
  const std::string& name = model.VarName[static_cast<std::size_t>(var)];
  if (found.IdenticallyZero) {
    Message(err, options.File + ": the approximation is 0 all along " + name +
                     " there, so every point is a root");
    return ExitNotFittable;
  }
  std::vector<std::string> roots;
  for (const double root : found.Roots) roots.push_back(SeventeenDigits(root));
  KeyValueOutput figures;
  figures.AddList("roots", roots);
  return figures.Write(out, err, options.Json) ? ExitSuccess : ExitFile;
}

}  // namespace quon::cli
