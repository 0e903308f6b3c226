// Prints the help file the program would show when started from the current directory
// with its executable in the folder given as the only argument; exit status 1, and the
// places tried on standard error, when there is none.
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/shell/help_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: help_lookup_probe EXECUTABLE_DIR\n", stderr);
    return 2;
  }
  const std::vector<std::string> candidates = quon::HelpFileCandidates(
      quon::HelpFilePath(std::filesystem::current_path().string()), argv[1]);
  const auto found = quon::FindHelpFile(candidates, [](const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
  });
  if (!found) {
    std::fputs(quon::HelpFileMissingText(candidates).c_str(), stderr);
    return 1;
  }
  std::puts(found->c_str());
  return 0;
}
