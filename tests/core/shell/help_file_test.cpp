#include "core/shell/help_file.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quon {
namespace {

TEST(HelpFile, PathIsTheFileNameInTheDirectory) {
  EXPECT_EQ(HelpFilePath("/home/ann/projects"), "/home/ann/projects/quon.hlp");
  EXPECT_EQ(HelpFilePath("/home/ann/projects/"), "/home/ann/projects/quon.hlp");
}

struct CandidatesCase {
  const char* name;
  std::string requested;
  std::string executableDir;
  std::vector<std::string> expected;
};

class HelpFileCandidatesTest : public testing::TestWithParam<CandidatesCase> {};

TEST_P(HelpFileCandidatesTest, ListsEachPlaceOnceInOrder) {
  EXPECT_EQ(HelpFileCandidates(GetParam().requested, GetParam().executableDir),
            GetParam().expected);
}

const CandidatesCase kCandidates[] = {
    {"StartDirectoryThenExecutableThenInstalledData",
     "/data/quon.hlp",
     "/opt/quon/bin",
     {"/data/quon.hlp", "/opt/quon/bin/quon.hlp", "/opt/quon/share/quon/quon.hlp"}},
    {"StartedInTheExecutableDirectory",
     "/opt/quon/bin/./quon.hlp",
     "/opt/quon/bin/",
     {"/opt/quon/bin/./quon.hlp", "/opt/quon/share/quon/quon.hlp"}},
    {"StartedInTheInstalledDataFolder",
     "/usr/share/quon/quon.hlp",
     "/usr/bin",
     {"/usr/share/quon/quon.hlp", "/usr/bin/quon.hlp"}},
    {"RequestedNameIsKept",
     "/data/other.hlp",
     "/usr/bin",
     {"/data/other.hlp", "/usr/bin/other.hlp", "/usr/share/quon/other.hlp"}},
    {"NoRequestedFileUsesTheDefaultName",
     "",
     "/usr/bin",
     {"/usr/bin/quon.hlp", "/usr/share/quon/quon.hlp"}},
    {"NoExecutableDirectory", "/data/quon.hlp", "", {"/data/quon.hlp"}},
};

INSTANTIATE_TEST_SUITE_P(HelpFile, HelpFileCandidatesTest, testing::ValuesIn(kCandidates),
                         [](const auto& info) { return info.param.name; });

TEST(HelpFile, FindTakesTheFirstExistingCandidate) {
  const std::vector<std::string> candidates = {"/a/quon.hlp", "/b/quon.hlp"};
  std::set<std::string> existing = {"/b/quon.hlp"};
  const auto exists = [&](const std::string& p) { return existing.contains(p); };
  EXPECT_EQ(FindHelpFile(candidates, exists), "/b/quon.hlp");
  existing.insert("/a/quon.hlp");
  EXPECT_EQ(FindHelpFile(candidates, exists), "/a/quon.hlp");
  existing.clear();
  EXPECT_FALSE(FindHelpFile(candidates, exists).has_value());
}

TEST(HelpFile, MissingTextNamesEveryPlaceTried) {
  const std::string text = HelpFileMissingText({"/a/quon.hlp", "/b/quon.hlp"});
  EXPECT_NE(text.find("/a/quon.hlp"), std::string::npos);
  EXPECT_NE(text.find("/b/quon.hlp"), std::string::npos);
}

}  // namespace
}  // namespace quon
