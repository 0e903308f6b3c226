#include "core/report/listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report/term_label.h"

namespace quon {
namespace {

ProblemModel ModelWithTerms(const std::array<int32_t, 4>& terms) {
  ProblemModel model;
  int lastVar = 0;
  for (int k = 0; k < 4; ++k) {
    if (terms[static_cast<std::size_t>(k)] > 1) lastVar = k;
  }
  model.LastVar = lastVar;
  model.VarName = {"x", "y", "z", "t"};
  for (std::size_t k = 0; k < 4; ++k) {
    model.LastTerm[k] = terms[k] - 1;
    model.Kind[k] = k % 2 == 0 ? TermKind::Power : TermKind::Trigonometric;
    model.Center[k] = static_cast<double>(k) - 1.0;
  }
  model.Coef.Allocate(model.LastTerm);
  for (std::size_t i = 0; i < model.Coef.size(); ++i) {
    model.Coef.data()[i] = static_cast<double>(i) + 0.5;
  }
  model.HaveResults = true;
  return model;
}

std::vector<std::string> AllLines(const ProblemModel& model, int* hookCalls = nullptr,
                                  std::vector<std::size_t>* hookPositions = nullptr) {
  std::vector<std::string> lines;
  ListCoefficients(
      model, [&](const std::string& line) { lines.push_back(line); },
      [&] {
        if (hookCalls != nullptr) ++*hookCalls;
        if (hookPositions != nullptr) hookPositions->push_back(lines.size());
      });
  return lines;
}

struct ShapeCase {
  const char* name;
  std::array<int32_t, 4> terms;
};

class ListingShapeTest : public ::testing::TestWithParam<ShapeCase> {};

// One streamed listing per shape: its length, each line on demand, the coefficients'
// order and where the event hook runs.
TEST_P(ListingShapeTest, FollowsTheFormulaTheStorageOrderAndTheRunsOfTheThirdIndex) {
  const auto& n = GetParam().terms;
  const ProblemModel model = ModelWithTerms(n);
  int calls = 0;
  std::vector<std::size_t> positions;
  const std::vector<std::string> lines = AllLines(model, &calls, &positions);
  const int64_t expected = 2 + int64_t{n[0]} * n[1] * n[2] * n[3] + int64_t{n[1]} * n[2] * n[3] +
                           int64_t{n[2]} * n[3] + n[3];
  EXPECT_EQ(ListingLineCount(model), expected);
  EXPECT_EQ(static_cast<int64_t>(lines.size()), expected);
  std::size_t next = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(ListingLine(model, static_cast<int64_t>(i)), lines[i]) << "line " << i;
    if (lines[i].empty() || lines[i] == ListingHeading) continue;
    ASSERT_LT(next, model.Coef.size());
    EXPECT_EQ(lines[i].substr(0, lines[i].find(' ')), std::to_string(next) + ".5");
    ++next;
  }
  EXPECT_EQ(next, model.Coef.size());
  EXPECT_EQ(calls, n[3]);
  // Each call comes right after the empty lines that end a run of index 1 and index 2,
  // and right before the empty line of its own run.
  for (const std::size_t at : positions) {
    ASSERT_GE(at, 2u);
    ASSERT_LT(at, lines.size());
    EXPECT_EQ(lines[at], "");
    EXPECT_EQ(lines[at - 1], "");
    EXPECT_EQ(lines[at - 2], "");
  }
}

const ShapeCase kShapes[] = {
    {"OneVariableOneTerm", {1, 1, 1, 1}},      {"OneVariableThreeTerms", {3, 1, 1, 1}},
    {"TwoVariablesThreeAndTwo", {3, 2, 1, 1}}, {"ThreeVariables", {2, 3, 4, 1}},
    {"FourVariables", {3, 2, 2, 3}},
};

INSTANTIATE_TEST_SUITE_P(Listing, ListingShapeTest, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Listing, TwoVariablesWithThreeAndTwoTermsInFull) {
  const ProblemModel model = ModelWithTerms({3, 2, 1, 1});
  const auto term = [&](int32_t i0, int32_t i1) { return TermLabel(model, {i0, i1, 0, 0}); };
  const std::vector<std::string> expected = {"COEFFICIENTS:", "", term(0, 0), term(1, 0),
                                             term(2, 0),      "", term(0, 1), term(1, 1),
                                             term(2, 1),      "", "",         ""};
  EXPECT_EQ(AllLines(model), expected);
  EXPECT_EQ(term(2, 1).substr(0, 40), "5.5                     *(x+1)^2*sin(y) ");
}

TEST(Listing, LargeGridLineCountAndLastLinesWithoutBuildingTheListing) {
  ProblemModel model = ModelWithTerms({40, 40, 40, 26});  // 1.664 million coefficients
  const int64_t count = ListingLineCount(model);
  EXPECT_EQ(count, 2 + 1664000 + 41600 + 1040 + 26);
  EXPECT_EQ(ListingLine(model, count - 1), "");
  EXPECT_EQ(ListingLine(model, count - 4).substr(0, 12), "1663999.5   ");
  EXPECT_THROW(ListingLine(model, count), std::out_of_range);
  EXPECT_THROW(ListingLine(model, -1), std::out_of_range);
}

TEST(Listing, UnallocatedCoefficientsHaveNoListing) {
  const ProblemModel model;
  EXPECT_EQ(ListingLineCount(model), 0);
  EXPECT_TRUE(AllLines(model).empty());
  EXPECT_THROW(ListingLine(model, 0), std::out_of_range);
}

}  // namespace
}  // namespace quon
