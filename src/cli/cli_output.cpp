#include "cli/cli_output.h"

namespace quon::cli {

void Message(std::FILE* err, const std::string& text) {
  std::fprintf(err, "quonfit: %s\n", text.c_str());
}

std::string WithNumber(const std::string& description, int32_t number) {
  return description + " (error " + std::to_string(number) + ")";
}

int ResultsNotWritten(std::FILE* err) {
  Message(err, "cannot write the results to the standard output");
  return ExitFile;
}

bool WriteAll(std::FILE* out, std::FILE* err, const std::string& text) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
    ResultsNotWritten(err);
    return false;
  }
  return true;
}

bool WriteLines(const std::vector<std::string>& lines, std::FILE* out, std::FILE* err) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return WriteAll(out, err, text);
}

}  // namespace quon::cli
