// Committing two files as a pair when one of the moves fails: the old pair stays as it was.
#include "core/io/temporary_file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quon
