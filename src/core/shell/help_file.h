// Where the help file is looked for. The program asks for it in the directory that was
// current at start-up; an installed program is usually started from elsewhere, so the
// directory of the executable is tried next, then the data folder of an installed program
// (share/quon beside the executable's bin folder). When none holds the file the viewer says
// where it looked.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quon {

inline constexpr const char* kHelpFileName = "quon.hlp";
// The installed data folder, relative to the executable's folder.
inline constexpr const char* kInstalledDataDir = "../share/quon";

// The path of the help file in `directory` ("quon.hlp" appended with a separator).
std::string HelpFilePath(const std::string& directory);

// The places to look for the help file named by `requested`, in order: the path itself,
// then the same file name in `executableDir` and in the installed data folder beside it;
// no place appears twice.
std::vector<std::string> HelpFileCandidates(const std::string& requested,
                                            const std::string& executableDir);

// The first candidate for which `exists` holds, or nothing.
std::optional<std::string> FindHelpFile(const std::vector<std::string>& candidates,
                                        const std::function<bool(const std::string&)>& exists);

// The text shown when the help file is nowhere: names every place that was tried.
std::string HelpFileMissingText(const std::vector<std::string>& candidates);

}  // namespace quon
