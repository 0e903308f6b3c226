#include "cli/arguments.h"

#include <algorithm>
#include <charconv>

#include "cli/cli_output.h"
#include "engine/number_text.h"

namespace quon::cli {

bool HasOption(const std::vector<std::string>& args, const std::string& option) {
  return std::find(args.begin(), args.end(), option) != args.end();
}

std::nullopt_t UsageError(std::FILE* err, const std::string& text) {
  Message(err, text + " (see quonfit --help)");
  return std::nullopt;
}

std::optional<std::string> TakeFileArgument(const std::string& arg, std::string& file,
                                            std::string_view mode) {
  if (arg.size() > 1 && arg[0] == '-') {
    return "unknown option " + arg + (mode.empty() ? "" : " with " + std::string(mode));
  }
  if (!file.empty()) return "more than one file given: " + file + " and " + arg;
  file = arg;
  return std::nullopt;
}

std::optional<std::string> MissingFile(const std::string& file) {
  if (file.empty()) return "no specification file given";
  return std::nullopt;
}

bool TakeNumbers(const std::vector<std::string>& args, std::size_t& i, std::vector<double>& into,
                 std::string& bad) {
  while (i + 1 < args.size()) {
    const std::string& text = args[i + 1];
    if (text.rfind("--", 0) == 0 || text == "-o") break;
    if (!IsNumber(text)) {
      bad = text;
      return false;
    }
    into.push_back(LeadingNumber(text));
    ++i;
  }
  return true;
}

std::optional<int64_t> WholeNumberIn(const std::string& text, int64_t least, int64_t most) {
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < least || value > most) {
    return std::nullopt;
  }
  return value;
}

}  // namespace quon::cli
