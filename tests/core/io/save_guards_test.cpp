// The guards around saving: whether closing would lose work, and whether a path is one of
// the pair's own files as the file system sees it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/io/pair_files.h"
#include "core/io/unsaved_work.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

struct WorkCase {
  const char* name;
  void (*change)(EntryFields&);  // applied to the fields as saved; null for none
  bool fittedSince, haveResults, toLose;
};

class WorkToLoseRule : public testing::TestWithParam<WorkCase> {};

TEST_P(WorkToLoseRule, OnlyAFitHeldOrAChangedFieldIsWorkToLose) {
  const WorkCase& c = GetParam();
  EntryFields saved;
  saved.Variables.resize(2);
  EntryFields now = saved;
  if (c.change != nullptr) c.change(now);
  ProblemModel model;
  model.HaveResults = c.haveResults;
  EXPECT_EQ(WorkToLose(model, ChangesSince(saved, now, c.fittedSince)), c.toLose);
}

const WorkCase kWork[] = {
    {"Untouched", nullptr, false, false, false},
    {"OpenedResultsUntouched", nullptr, false, true, false},
    {"NewFitHeld", nullptr, true, true, true},
    {"NewFitClearedSince", nullptr, true, false, false},
    {"FunctionChanged", [](EntryFields& f) { f.Equation = "x"; }, false, false, true},
    {"TermsChanged", [](EntryFields& f) { f.Variables[1].Terms = "12"; }, false, true, true},
    {"KindChanged", [](EntryFields& f) { f.Variables[0].PowerChecked = false; }, 0, 0, true},
    {"VariableAdded", [](EntryFields& f) { f.Variables.emplace_back(); }, false, false, true},
    {"ConstantAdded", [](EntryFields& f) { f.ConstantItems = {"a=2"}; }, false, false, true},
};

INSTANTIATE_TEST_SUITE_P(Changes, WorkToLoseRule, testing::ValuesIn(kWork),
                         [](const auto& info) { return std::string(info.param.name); });

struct PairCase {
  const char* name;
  const char* path;  // in a folder holding p.qsp, p.qsp.str, other.pdf and links to the pair
  const char* pair;  // empty: no pair
  bool ofPair;
};

class PairFiles : public testing::TestWithParam<PairCase> {};

TEST_P(PairFiles, AreRecognisedByTheFileSystemNotByTheirText) {
  const PairCase& c = GetParam();
  const test::ScratchDir dir;
  for (const char* name : {"p.qsp", "p.qsp.str", "other.pdf"})
    test::WriteBytes(dir.Path(name), name);
  std::filesystem::create_directory(dir.Path("sub"));
  std::filesystem::create_symlink(dir.Path("p.qsp"), dir.Path("link.pdf"));
  std::filesystem::create_hard_link(dir.Path("p.qsp.str"), dir.Path("hard.pdf"));
  const std::string pair = *c.pair == '\0' ? std::string() : dir.Path(c.pair);
  EXPECT_EQ(IsFileOfPair(dir.Path(c.path), pair), c.ofPair);
}

const PairCase kPairs[] = {
    {"TheMainFile", "p.qsp", "p.qsp", true},
    {"TheTextFileSpelledOtherwise", "sub/../p.qsp.str", "./p.qsp", true},
    {"ALinkToTheMainFile", "link.pdf", "p.qsp", true},
    {"AHardLinkToTheTextFile", "hard.pdf", "p.qsp", true},
    {"AnotherFile", "other.pdf", "p.qsp", false},
    {"ANewFile", "new.pdf", "p.qsp", false},
    {"NoPair", "p.qsp", "", false},
};

INSTANTIATE_TEST_SUITE_P(Paths, PairFiles, testing::ValuesIn(kPairs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
