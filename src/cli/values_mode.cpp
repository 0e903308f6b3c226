// quonfit FILE --values VALUES.csv [-o OUT].
#include "cli/cli_output.h"
#include "cli/data_modes.h"
#include "cli/open_and_fit.h"
#include "core/batch/csv_fields.h"
#include "core/datafit/node_values.h"
#include "core/fit/fit_driver.h"
#include "core/model/gather_specs.h"

namespace quon::cli {

int RunValuesMode(const DataOptions& options, std::FILE* out, std::FILE* err) {
  ProblemModel model;
  EntryFields fields;
  if (const int code = OpenPair(options.File, model, fields, err); code != ExitSuccess) return code;
  try {
    if (FitNodeValues(model, fields, options.Table) == SolveOutcome::Singular) {
      std::fprintf(out, "%s\n", SingularMatrixLine);
      return ExitSingular;
    }
  } catch (const PointsFileError& e) {
    Message(err, e.what());
    return ExitFile;
  } catch (const std::exception& e) {  // GatherError, GridTooLarge, std::bad_alloc
    Message(err, options.File + ": " + e.what());
    return ExitNotFittable;
  }
  return WriteDataFitResults(options, model, fields, out, err);
}

}  // namespace quon::cli
