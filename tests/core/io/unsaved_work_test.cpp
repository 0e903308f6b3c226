#include "core/io/unsaved_work.h"

#include <gtest/gtest.h>

#include <string>

namespace quon {
namespace {

struct WorkCase {
  const char* name;
  void (*change)(EntryFields&);  // applied to the fields as saved; null for none
  bool fittedSince;
  bool haveResults;
  bool toLose;
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
    {"KindChanged", [](EntryFields& f) { f.Variables[0].PowerChecked = false; }, false, false,
     true},
    {"VariableAdded", [](EntryFields& f) { f.Variables.emplace_back(); }, false, false, true},
    {"ConstantAdded", [](EntryFields& f) { f.ConstantItems = {"a=2"}; }, false, false, true},
};

INSTANTIATE_TEST_SUITE_P(Changes, WorkToLoseRule, testing::ValuesIn(kWork),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
