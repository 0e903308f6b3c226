#include "core/shell/help_file.h"

#include <algorithm>
#include <filesystem>

namespace quon {

std::string HelpFilePath(const std::string& directory) {
  return (std::filesystem::path(directory) / kHelpFileName).string();
}

std::vector<std::string> HelpFileCandidates(const std::string& requested,
                                            const std::string& executableDir) {
  std::vector<std::string> candidates;
  const auto add = [&](const std::string& place) {
    const auto normal = [](const std::string& p) {
      return std::filesystem::path(p).lexically_normal();
    };
    const bool seen = std::any_of(candidates.begin(), candidates.end(),
                                  [&](const std::string& c) { return normal(c) == normal(place); });
    if (!seen) candidates.push_back(place);
  };
  if (!requested.empty()) add(requested);
  if (!executableDir.empty()) {
    const std::filesystem::path requestedName = std::filesystem::path(requested).filename();
    const std::filesystem::path name = requestedName.empty() ? kHelpFileName : requestedName;
    const std::filesystem::path dir(executableDir);
    add((dir / name).string());
    add((dir / kInstalledDataDir / name).lexically_normal().string());
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
