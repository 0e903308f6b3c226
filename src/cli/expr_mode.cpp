#include "cli/expr_mode.h"

#include "cli/arguments.h"
#include "cli/cli_output.h"
#include "cli/line_writer.h"
#include "engine/engine.h"
#include "engine/number_text.h"
#include "engine/script_environment.h"
#include "engine/variant.h"

namespace quon::cli {
namespace {

// The value as the language writes it; Null, which has no text there, by its name.
std::string ValueText(const script::Value& value) {
  return value.kind == script::Kind::Null ? "Null" : value.text;
}

// One line of the stream without its line end (a line feed, or a carriage return and a
// line feed); false at the end of the stream.
bool ReadLine(std::FILE* in, std::string& line) {
  line.clear();
  int c = 0;
  while ((c = std::fgetc(in)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && line.empty()) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

bool WantsExprMode(const std::vector<std::string>& args) { return HasOption(args, "--expr"); }

std::optional<ExprModeOptions> ParseExprArguments(const std::vector<std::string>& args,
                                                  std::FILE* err) {
  ExprModeOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--expr") continue;
    if (args[i] == "--exec") {
      if (i + 1 >= args.size()) {
        std::fprintf(err, "quonfit: --exec needs a statement, such as --exec \"a=2.37\"\n");
        return std::nullopt;
      }
      options.Statements.push_back(args[++i]);
      continue;
    }
    std::fprintf(err, "quonfit: --expr does not take '%s' (see quonfit --help)\n", args[i].c_str());
    return std::nullopt;
  }
  return options;
}

std::string ExprLine(ScriptEnvironment& env, std::string_view expression) {
  try {
    const script::Value value = env.Eval(expression);
    return ValueText(value) + "\t" + std::string(script::TypeName(value.kind));
  } catch (const ScriptFailure& failure) {
    return "error\t" + std::to_string(failure.Number) + "\t" + failure.what();
  }
}

int RunExprMode(const ExprModeOptions& options, std::FILE* in, std::FILE* out, std::FILE* err) {
  // The descriptions go into the output lines; the error event shows nothing of its own.
  ScriptEnvironment env;
  int status = ExitSuccess;
  for (const std::string& statement : options.Statements) {
    try {
      env.ExecuteStatement(statement);
    } catch (const ScriptFailure& failure) {
      std::fprintf(err, "quonfit: --exec \"%s\": error %d: %s\n", statement.c_str(), failure.Number,
                   failure.what());
      status = ExitScriptError;
    }
  }
  LineWriter writer(out);
  std::string line;
  while (ReadLine(in, line)) writer.Line(ExprLine(env, line));
  if (!writer.Flush()) {
    std::fprintf(err, "quonfit: the results could not be written\n");
    return ExitFile;
  }
  return status;
}

const char* ExprModeHelp() {
  return "  quonfit --expr [--exec STATEMENT]...\n"
         "      Reads expressions from standard input, one per line, and prints for each\n"
         "      its value, a tab and its kind (Empty, Null, Boolean, Integer, Long,\n"
         "      Double, String), or \"error\", the error number and its description,\n"
         "      separated by tabs. pi, e, halfpi and Asin, Acos, Sinh, Cosh, Tanh, Asinh,\n"
         "      Acosh and Atanh are defined as in the program.\n"
         "  --exec STATEMENT  run a statement such as \"a=2.37\" first (repeatable)\n"
         "  Exit status: 0 done, 2 bad usage, 3 output not written, 4 an --exec\n"
         "  statement failed (the expressions are still evaluated).\n";
}

}  // namespace quon::cli
