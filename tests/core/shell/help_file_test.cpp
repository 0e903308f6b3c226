#include "shell/help_file.h"

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

TEST(HelpFile, StartDirectoryComesBeforeTheExecutableDirectory) {
  EXPECT_EQ(HelpFileCandidates("/data/quon.hlp", "/opt/quon/bin"),
            (std::vector<std::string>{"/data/quon.hlp", "/opt/quon/bin/quon.hlp"}));
}

TEST(HelpFile, SameDirectoryIsTriedOnce) {
  EXPECT_EQ(HelpFileCandidates("/opt/quon/bin/quon.hlp", "/opt/quon/bin/"),
            (std::vector<std::string>{"/opt/quon/bin/quon.hlp"}));
  EXPECT_EQ(HelpFileCandidates("/opt/quon/bin/./quon.hlp", "/opt/quon/bin"),
            (std::vector<std::string>{"/opt/quon/bin/./quon.hlp"}));
}

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
