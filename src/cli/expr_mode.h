// quonfit's expression mode: reads expressions from a stream, one per line, evaluates each
// in one engine prepared as the program prepares its own (pi, e, halfpi and the math
// object's functions exist), and prints one line per expression: the value (numbers in
// the text form, Booleans as True or False, texts as they are), a tab and the kind's
// name; or "error", a tab, the error number, a tab and the description. Statements given
// with --exec run first. A failing line never stops the run.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quon {
class ScriptEnvironment;
}

namespace quon::cli {

struct ExprModeOptions {
  std::vector<std::string> Statements;  // from --exec, in order
};

// Whether the arguments ask for the expression mode (they hold --expr).
bool WantsExprMode(const std::vector<std::string>& args);

// The options from the arguments after the program's name, or nullopt after a message on
// `err` when they are not usable.
std::optional<ExprModeOptions> ParseExprArguments(const std::vector<std::string>& args,
                                                  std::FILE* err);

// Runs the mode: 0 when every --exec statement ran, 4 when one failed (the rest of the
// run goes on), 3 when the output could not be written.
int RunExprMode(const ExprModeOptions& options, std::FILE* in, std::FILE* out, std::FILE* err);

// The output line of one expression, without the line feed.
std::string ExprLine(ScriptEnvironment& env, std::string_view expression);

// The lines of quonfit --help that describe the expression mode.
const char* ExprModeHelp();

}  // namespace quon::cli
