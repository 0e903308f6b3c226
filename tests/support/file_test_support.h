// Files for tests: the checked-in data folder, a scratch folder removed afterwards,
// whole-file reads and writes of bytes, and file moves that fail on demand.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/io/rename_file.h"

namespace quon::test {

inline std::string DataPath(const std::string& name) {
  return std::string(QUON_TEST_DATA) + "/" + name;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("quon_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Names of the files the folder holds.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path dir_;
};

// Moves files as the system does, except that the moves numbered in `failing` (the first
// move is 1) fail with an input/output error.
class FailingRename {
 public:
  explicit FailingRename(std::set<int> failing) : failing_(std::move(failing)) {}
  RenameFile Function() {
    return [this](const std::string& from, const std::string& to) {
      return failing_.contains(++moves_) ? EIO : RenameWithTheSystem(from, to);
    };
  }

 private:
  std::set<int> failing_;
  int moves_ = 0;
};

}  // namespace quon::test
