// Committing two files as a pair when one of the moves fails: the old pair stays as it was;
// what a path names (a link, a special file) and what a signal leaves behind.
#include "core/io/temporary_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "core/io/spec_file.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

using test::FailingRename;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

// Writes "new a" and "new b" and commits them as the pair a, b. Returns the error's text.
std::string CommitNewPair(const ScratchDir& dir, FailingRename& rename) {
  TemporaryFile a(dir.Path("a"));
  a.Write("new a");
  a.Close();
  TemporaryFile b(dir.Path("b"));
  b.Write("new b");
  b.Close();
  try {
    CommitPair(a, b, rename.Function());
  } catch (const SpecFileError& e) {
    return e.what();
  }
  return {};
}

struct FaultCase {
  const char* name;
  bool oldPair;           // a and b exist before the commit
  std::set<int> failing;  // the moves that fail: 1 and 3 back up a and b, 2 and 4 replace them
  const char* named;      // the destination the message names
};

class FailedCommit : public testing::TestWithParam<FaultCase> {};

TEST_P(FailedCommit, LeavesTheOldPairByteForByte) {
  const FaultCase& c = GetParam();
  ScratchDir dir;
  if (c.oldPair) {
    WriteBytes(dir.Path("a"), "old a\r\n");
    WriteBytes(dir.Path("b"), "old b\r\n");
  }
  FailingRename rename(c.failing);
  const std::string error = CommitNewPair(dir, rename);
  EXPECT_EQ(error.rfind(dir.Path(c.named) + ": cannot write the file", 0), 0u) << error;
  if (c.oldPair) {
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadBytes(dir.Path("a")), "old a\r\n");
    EXPECT_EQ(ReadBytes(dir.Path("b")), "old b\r\n");
  } else {
    EXPECT_EQ(dir.Files(), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, FailedCommit,
    testing::Values(FaultCase{"BackingUpTheFirst", true, {1}, "a"},
                    FaultCase{"ReplacingTheFirst", true, {2}, "a"},
                    FaultCase{"BackingUpTheSecond", true, {3}, "b"},
                    FaultCase{"ReplacingTheSecondAfterTheFirstIsIn", true, {4}, "b"},
                    FaultCase{"FirstSaveReplacingTheFirst", false, {2}, "a"},
                    FaultCase{"FirstSaveReplacingTheSecond", false, {4}, "b"}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// When even putting an old file back fails, it stays under its backup name, and the message
// says where.
TEST(FailedCommit, AnOldFileThatCannotBePutBackIsNamed) {
  ScratchDir dir;
  WriteBytes(dir.Path("a"), "old a");
  WriteBytes(dir.Path("b"), "old b");
  FailingRename rename({4, 5});  // replacing b fails, then putting the old b back
  const std::string error = CommitNewPair(dir, rename);
  const std::string marker = "is kept as ";
  const std::size_t at = error.find(marker);
  ASSERT_NE(at, std::string::npos) << error;
  const std::string backup =
      error.substr(at + marker.size(), error.size() - at - marker.size() - 1);
  EXPECT_EQ(ReadBytes(backup), "old b");
  EXPECT_EQ(ReadBytes(dir.Path("a")), "old a");
  EXPECT_EQ(dir.Files().size(), 2u);  // a and the backup of b; no temporaries
}

// Writes "new" to `path` through a TemporaryFile and commits it; the error's text, or "".
std::string WriteNew(const std::string& path) {
  try {
    TemporaryFile file(path);
    file.Write("new");
    file.Close();
    file.Commit();
  } catch (const SpecFileError& e) {
    return e.what();
  }
  return {};
}

// What the user named is what gets written: a link's target, with its permissions; what
// is no regular file is refused and left as it was.
TEST(TemporaryFile, ReplacesWhatThePathNamesNotTheName) {
  ScratchDir dir;
  WriteBytes(dir.Path("target"), "old");
  ::chmod(dir.Path("target").c_str(), 0600);
  std::filesystem::create_symlink("target", dir.Path("link"));
  EXPECT_EQ(WriteNew(dir.Path("link")), "");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link")));
  EXPECT_EQ(ReadBytes(dir.Path("target")), "new");
  struct stat status {};
  ASSERT_EQ(::stat(dir.Path("target").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);

  ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.Path("folder"));
  for (const char* special : {"fifo", "folder"}) {
    EXPECT_NE(WriteNew(dir.Path(special)).find("not a regular file"), std::string::npos);
  }
  EXPECT_EQ(std::filesystem::status(dir.Path("fifo")).type(), std::filesystem::file_type::fifo);
  EXPECT_EQ(dir.Files().size(), 4u);  // no temporaries

  EXPECT_TRUE(IsSameFile(dir.Path("link"), dir.Path("./target")));
  EXPECT_FALSE(IsSameFile(dir.Path("link"), dir.Path("fifo")));
  EXPECT_FALSE(IsSameFile(dir.Path("absent"), dir.Path("absent")));
}

TEST(TemporaryFileDeathTest, ASignalRemovesTheTemporaryAndEndsTheProgram) {
  ScratchDir dir;
  EXPECT_EXIT(
      {
        RemoveTemporaryFilesOnSignals();
        TemporaryFile file(dir.Path("out"));
        file.Write("partial");
        std::raise(SIGTERM);
      },
      ::testing::KilledBySignal(SIGTERM), "");
  EXPECT_TRUE(dir.Files().empty());
}

}  // namespace
}  // namespace quon
