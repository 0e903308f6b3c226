#include "core/io/pair_files.h"

#include <filesystem>
#include <system_error>

#include "core/io/spec_file.h"

namespace quon {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

bool IsFileOfPair(const std::string& path, const std::string& pairPath) {
  if (path.empty() || pairPath.empty()) return false;
  return SameFile(path, pairPath) || SameFile(path, TextFilePath(pairPath));
}

}  // namespace quon
