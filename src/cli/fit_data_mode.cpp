// quonfit FILE --fit-data DATA.csv [--weights COLUMN] [-o OUT] [--stats].
#include "cli/cli_output.h"
#include "cli/data_modes.h"
#include "cli/open_and_fit.h"
#include "core/datafit/data_fit.h"
#include "core/model/gather_specs.h"
#include "core/model/names_in_use.h"

namespace quon::cli {

int RunFitDataMode(const DataOptions& options, std::FILE* out, std::FILE* err) {
  ProblemModel model;
  EntryFields fields;
  if (const int code = OpenPair(options.File, model, fields, err); code != ExitSuccess) return code;
  try {
    GatherSpecs(model, fields);
    CsvDataSource table(options.Table, NamesInUse(model), options.Weights);
    FitData(model, table, options.Table);
  } catch (const PointsFileError& e) {
    Message(err, e.what());
    return ExitFile;
  } catch (const DataFitRefused& e) {
    Message(err, options.Table + ": " + e.what());
    return ExitNotFittable;
  } catch (const std::exception& e) {  // GatherError, GridTooLarge, std::bad_alloc
    Message(err, options.File + ": " + e.what());
    return ExitNotFittable;
  }
  return WriteDataFitResults(options, model, fields, out, err);
}

}  // namespace quon::cli
