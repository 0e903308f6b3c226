#include "shell/help_file.h"

#include <algorithm>
#include <filesystem>

namespace quon {

std::string HelpFilePath(const std::string& directory) {
  return (std::filesystem::path(directory) / kHelpFileName).string();
}

std::vector<std::string> HelpFileCandidates(const std::string& requested,
                                            const std::string& executableDir) {
  std::vector<std::string> candidates;
  if (!requested.empty()) candidates.push_back(requested);
  if (!executableDir.empty()) {
    const std::filesystem::path name = std::filesystem::path(requested).filename();
    const std::string beside =
        (std::filesystem::path(executableDir) / (name.empty() ? kHelpFileName : name)).string();
    const auto normal = [](const std::string& p) {
      return std::filesystem::path(p).lexically_normal();
    };
    const bool seen = std::any_of(candidates.begin(), candidates.end(), [&](const std::string& c) {
      return normal(c) == normal(beside);
    });
    if (!seen) candidates.push_back(beside);
  }
  return candidates;
}

std::optional<std::string> FindHelpFile(const std::vector<std::string>& candidates,
                                        const std::function<bool(const std::string&)>& exists) {
  for (const std::string& candidate : candidates) {
    if (exists(candidate)) return candidate;
  }
  return std::nullopt;
}

std::string HelpFileMissingText(const std::vector<std::string>& candidates) {
  std::string text = "The help file could not be found. It was looked for here:\n";
  for (const std::string& candidate : candidates) text += "  " + candidate + "\n";
  return text;
}

}  // namespace quon
