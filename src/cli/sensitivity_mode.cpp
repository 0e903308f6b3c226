// quonfit FILE --sensitivity.
#include "cli/analysis_modes.h"
#include "cli/cli_output.h"
#include "cli/key_value_output.h"
#include "core/analysis/variance_decomposition.h"
#include "engine/number_text.h"

namespace quon::cli {

int RunSensitivityMode(const AnalysisOptions& options, const ProblemModel& model, std::FILE* out,
                       std::FILE* err) {
  const VarianceDecomposition d = DecomposeVariance(model);
  KeyValueOutput figures;
  figures.Add("mean", SeventeenDigits(d.Mean));
  figures.Add("variance", SeventeenDigits(d.Variance));
  for (std::size_t k = 0; k < d.MainEffect.size(); ++k) {
    figures.AddNamed("main_effect", model.VarName[k], SeventeenDigits(d.MainEffect[k]));
    figures.AddNamed("total_effect", model.VarName[k], SeventeenDigits(d.TotalEffect[k]));
  }
  return figures.Write(out, err, options.Json) ? ExitSuccess : ExitFile;
}

}  // namespace quon::cli
