#include "core/model/user_constants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quon {
namespace {

std::vector<std::string> Held(const ProblemModel& model) {
  return {model.Constants.begin(), model.Constants.begin() + model.ConstCount};
}

struct AddCase {
  const char* name;
  const char* text;
  AddOutcome expected;
};

class AddConstantCheck : public testing::TestWithParam<AddCase> {};

TEST_P(AddConstantCheck, JudgesTheNameOnly) {
  ProblemModel model;
  const AddResult result = AddConstant(model, GetParam().text);
  EXPECT_EQ(result.Outcome, GetParam().expected);
  if (GetParam().expected == AddOutcome::Added) {
    EXPECT_EQ(Held(model), std::vector<std::string>{GetParam().text});
  } else {
    EXPECT_EQ(model.ConstCount, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, AddConstantCheck,
    testing::Values(AddCase{"Plain", "a=2.37", AddOutcome::Added},
                    AddCase{"LetterThenDigit", "x1=5", AddOutcome::Added},
                    AddCase{"ValueIsNotExamined", "b=)(", AddOutcome::Added},
                    AddCase{"EmptyValue", "c=", AddOutcome::Added},
                    AddCase{"ValueWithComma", "d=Round(2.567,2)", AddOutcome::Added},
                    AddCase{"NoEquals", "a 2.37", AddOutcome::NoEquals},
                    AddCase{"EmptyText", "", AddOutcome::NoEquals},
                    AddCase{"StartsWithEquals", "=1", AddOutcome::BadName},
                    AddCase{"StartsWithDigit", "2a=1", AddOutcome::BadName},
                    AddCase{"BlankInside", "a b=1", AddOutcome::BadName},
                    AddCase{"BlankBeforeEquals", "a =1", AddOutcome::BadName},
                    AddCase{"Underscore", "a_1=1", AddOutcome::BadName},
                    AddCase{"NonAsciiLetter", "\xC3\xA9=1", AddOutcome::BadName}),
    [](const testing::TestParamInfo<AddCase>& info) { return std::string(info.param.name); });

TEST(UserConstants, RedefinitionMovesTheEntryToTheEndWithItsNewValue) {
  ProblemModel model;
  AddConstant(model, "a=2.37");
  AddConstant(model, "b=1");
  const AddResult result = AddConstant(model, "a=3");
  EXPECT_EQ(result.Outcome, AddOutcome::Added);
  EXPECT_EQ(result.RemovedIndex, 0);
  EXPECT_EQ(Held(model), (std::vector<std::string>{"b=1", "a=3"}));
}

TEST(UserConstants, NamesDifferingInCaseAreBothKept) {
  ProblemModel model;
  EXPECT_EQ(AddConstant(model, "A=1").RemovedIndex, -1);
  EXPECT_EQ(AddConstant(model, "a=2").RemovedIndex, -1);
  EXPECT_EQ(Held(model), (std::vector<std::string>{"A=1", "a=2"}));
}

TEST(UserConstants, OnlyTheFirstMatchIsReplaced) {
  // Two entries of one name can only come from a file; a redefinition removes the first.
  ProblemModel model;
  model.Constants[0] = "a=1";
  model.Constants[1] = "b=2";
  model.Constants[2] = "a=3";
  model.ConstCount = 3;
  AddConstant(model, "a=4");
  EXPECT_EQ(Held(model), (std::vector<std::string>{"b=2", "a=3", "a=4"}));
}

TEST(UserConstants, AddBeyondTheLastSlotIsRefusedButARedefinitionStillWorks) {
  ProblemModel model;
  for (int i = 0; i < MaxConstants; ++i) {
    ASSERT_EQ(AddConstant(model, "c" + std::to_string(i) + "=1").Outcome, AddOutcome::Added);
  }
  const auto before = Held(model);
  EXPECT_EQ(AddConstant(model, "z=1").Outcome, AddOutcome::Full);
  EXPECT_EQ(Held(model), before);
  EXPECT_NE(ConstantsFullMessage().find("101"), std::string::npos);
  EXPECT_EQ(AddConstant(model, "c5=7").Outcome, AddOutcome::Added);
  EXPECT_EQ(model.ConstCount, MaxConstants);
  EXPECT_EQ(model.Constants[MaxConstants - 1], "c5=7");
  EXPECT_EQ(model.Constants[5], "c6=1");
}

TEST(UserConstants, RemovalReturnsTheStatementThatResetsTheNameOfTheSelectedEntry) {
  ProblemModel model;
  AddConstant(model, "a=2.37");
  AddConstant(model, "bb=x=3");
  AddConstant(model, "c=1");
  EXPECT_EQ(RemoveConstant(model, 1), "bb=0");
  EXPECT_EQ(Held(model), (std::vector<std::string>{"a=2.37", "c=1"}));
  EXPECT_EQ(model.Constants[2], "");
  EXPECT_EQ(RemoveConstant(model, 0), "a=0");
  EXPECT_EQ(Held(model), std::vector<std::string>{"c=1"});
  // Without a selection, or past the last entry, nothing is removed.
  EXPECT_EQ(RemoveConstant(model, -1), "");
  EXPECT_EQ(RemoveConstant(model, 1), "");
  EXPECT_EQ(Held(model), std::vector<std::string>{"c=1"});
}

}  // namespace
}  // namespace quon
