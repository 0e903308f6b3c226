// quonfit FILE --nodes [-o NODES.csv].
#include "cli/cli_output.h"
#include "cli/data_modes.h"
#include "cli/line_writer.h"
#include "cli/open_and_fit.h"
#include "core/datafit/node_values.h"
#include "core/io/spec_file.h"
#include "core/io/temporary_file.h"
#include "core/model/gather_specs.h"

namespace quon::cli {

int RunNodesMode(const DataOptions& options, std::FILE* out, std::FILE* err) {
  ProblemModel model;
  EntryFields fields;
  if (const int code = OpenPair(options.File, model, fields, err); code != ExitSuccess) return code;
  try {
    GatherSpecs(model, fields);
  } catch (const std::exception& e) {  // GatherError, GridTooLarge
    Message(err, options.File + ": " + e.what());
    return ExitNotFittable;
  }
  if (options.Output.empty()) {
    LineWriter writer(out);
    WriteNodesTable(model, writer.Sink());
    return writer.Flush() ? ExitSuccess : ResultsNotWritten(err);
  }
  try {
    TemporaryFile file(options.Output);
    std::string buffer;
    WriteNodesTable(model, [&](const std::string& line) {
      buffer += line;
      buffer.push_back('\n');
      if (buffer.size() >= (std::size_t{1} << 20)) {
        file.Write(buffer);
        buffer.clear();
      }
    });
    file.Write(buffer);
    file.Close();
    file.Commit();
  } catch (const SpecFileError& e) {
    Message(err, e.what());
    return ExitFile;
  }
  return ExitSuccess;
}

}  // namespace quon::cli
