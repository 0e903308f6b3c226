#include "core/model/entry_checks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quon {
namespace {

struct CountCase {
  const char* name;
  const char* text;
  std::optional<int32_t> lastVar;
};

class VariableCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(VariableCount, AcceptsOneToFourVariables) {
  EXPECT_EQ(AcceptVariableCount(GetParam().text), GetParam().lastVar) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VariableCount,
    ::testing::Values(
        CountCase{"Empty", "", std::nullopt}, CountCase{"Zero", "0", std::nullopt},
        CountCase{"Negative", "-1", std::nullopt}, CountCase{"Letters", "abc", std::nullopt},
        CountCase{"Five", "5", std::nullopt}, CountCase{"JustAboveFour", "4.4", std::nullopt},
        CountCase{"RoundsBelowOne", "0.3", std::nullopt}, CountCase{"Huge", "1e308", std::nullopt},
        CountCase{"One", "1", 0}, CountCase{"Four", "4", 3},
        CountCase{"HalfRoundsToEvenUp", "2.5", 2}, CountCase{"HalfRoundsToEvenZero", "0.5", 0},
        CountCase{"TrailingLetters", "2abc", 1}, CountCase{"BlanksInside", " 3 ", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitNames, KeepsEveryPieceUntrimmedAndFindsNoneInEmptyText) {
  EXPECT_EQ(SplitNames("x, y"), (std::vector<std::string>{"x", " y"}));
  EXPECT_EQ(SplitNames("x,,z"), (std::vector<std::string>{"x", "", "z"}));
  EXPECT_EQ(SplitNames("x,y,"), (std::vector<std::string>{"x", "y", ""}));
  EXPECT_EQ(SplitNames(","), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(SplitNames("").empty());
}

struct NamesCase {
  const char* name;
  std::vector<std::string> names;
  const char* problem;  // part of the message; nullptr: accepted
};

class Names : public ::testing::TestWithParam<NamesCase> {};

TEST_P(Names, AreRefusedWithAMessageNamingTheName) {
  const std::optional<std::string> problem = NamesProblem(GetParam().names);
  if (GetParam().problem == nullptr) {
    EXPECT_EQ(problem, std::nullopt);
  } else {
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find(GetParam().problem), std::string::npos) << *problem;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Names,
    ::testing::Values(
        NamesCase{"Distinct", {"x", "y", "speed_2"}, nullptr},
        NamesCase{"Empty", {"x", ""}, "variable 2 has no name"},
        NamesCase{"LeadingBlank", {"x", " y"}, "\" y\" has blanks or control characters"},
        NamesCase{"TrailingTab", {"x\t"}, "\"x?\" has blanks or control characters"},
        NamesCase{"ControlInside",
                  {"a\x01"
                   "b"},
                  "\"a?b\" holds a control character"},
        NamesCase{"Twice", {"x", "x"}, "\"x\" and \"x\" name one variable"},
        NamesCase{"TwiceInAnotherCase", {"x", "y", "X"}, "\"x\" and \"X\" name one variable"},
        NamesCase{"LongNameShortened", {std::string(100, 'v') + " "}, "vvvv...\" has blanks"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Signature, ListsTheNamesInOrder) {
  EXPECT_EQ(Signature({"x", "y", "z", "t"}), "f(x,y,z,t)");
  EXPECT_EQ(Signature({"t"}), "f(t)");
  EXPECT_EQ(Signature({"x", " y"}), "f(x, y)");
}

TEST(JoinNames, InvertsSplitNames) {
  for (const char* text : {"x,y,z,t", "x, y", "a", "x,,z"}) {
    EXPECT_EQ(JoinNames(SplitNames(text)), text);
  }
}

struct FieldCase {
  const char* name;
  const char* text;
  bool limit;
  bool terms;
};

class FieldChecks : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldChecks, LimitsNeedANumberAndTermsAtLeastTwo) {
  EXPECT_EQ(LimitAccepted(GetParam().text), GetParam().limit) << GetParam().text;
  EXPECT_EQ(TermCountAccepted(GetParam().text), GetParam().terms) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, FieldChecks,
                         ::testing::Values(FieldCase{"Empty", "", false, false},
                                           FieldCase{"Letters", "abc", false, false},
                                           FieldCase{"TrailingLetters", "3abc", false, false},
                                           FieldCase{"CommaDecimal", "1,5", false, false},
                                           FieldCase{"One", "1", true, false},
                                           FieldCase{"JustBelowTwo", "1.99", true, false},
                                           FieldCase{"Two", "2", true, true},
                                           FieldCase{"TwoPointFour", "2.4", true, true},
                                           FieldCase{"Negative", "-5", true, false},
                                           FieldCase{"Exponent", "1E3", true, true},
                                           FieldCase{"BlanksAround", " 10 ", true, true},
                                           FieldCase{"Star", "*", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EquationAccepted, RefusesOnlyTheEmptyText) {
  EXPECT_FALSE(EquationAccepted(""));
  EXPECT_TRUE(EquationAccepted(" "));
  EXPECT_TRUE(EquationAccepted("x^2*sin(y)"));
}

}  // namespace
}  // namespace quon
