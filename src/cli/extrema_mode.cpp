// quonfit FILE --extrema [--box LOW HIGH...].
#include "cli/analysis_modes.h"
#include "cli/cli_output.h"
#include "cli/key_value_output.h"
#include "core/analysis/extrema.h"
#include "core/model/names_in_use.h"
#include "engine/number_text.h"

namespace quon::cli {

int RunExtremaMode(const AnalysisOptions& options, const ProblemModel& model, std::FILE* out,
                   std::FILE* err) {
  Box box = ProblemBox(model);
  if (!options.Box.empty()) {
    box = Box{};
    for (std::size_t i = 0; i + 1 < options.Box.size(); i += 2) {
      box.Lower.push_back(options.Box[i]);
      box.Upper.push_back(options.Box[i + 1]);
    }
  }
  const Extremes found = FindExtremes(model, box);
  KeyValueOutput figures;
  for (const auto& [key, extreme] :
       {std::pair{"maximum", &found.Maximum}, {"minimum", &found.Minimum}}) {
    std::vector<std::string> at;
    for (const double x : extreme->Point) at.push_back(SeventeenDigits(x));
    figures.AddLocated(key, SeventeenDigits(extreme->Value), NamesInUse(model), at);
  }
  return figures.Write(out, err, options.Json) ? ExitSuccess : ExitFile;
}

}  // namespace quon::cli
