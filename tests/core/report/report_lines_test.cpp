#include "core/report/report_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quon {
namespace {

std::vector<std::string> Report(const ProblemModel& model, const std::string& equation,
                                const std::vector<std::string>& constants) {
  std::vector<std::string> lines;
  ReportLines(model, equation, constants, [&](const std::string& line) { lines.push_back(line); });
  return lines;
}

// x: power, 3 terms on [-1, 1], centre 0; y: trigonometric, 2 terms on [0, 6.28], centre
// 0.5, period 2 pi.
ProblemModel TwoVariables() {
  ProblemModel model;
  model.LastVar = 1;
  model.VarName = {"x", "y"};
  model.Kind = {TermKind::Power, TermKind::Trigonometric, TermKind::Power, TermKind::Power};
  model.LastTerm = {2, 1, 0, 0};
  model.LowerLimit = {-1, 0, 0, 0};
  model.UpperLimit = {1, 6.28, 0, 0};
  model.Center = {0, 0.5, 0, 0};
  model.Period = {model.Pi + model.Pi, model.Pi + model.Pi, 0, 0};
  return model;
}

TEST(ReportLines, VariableBlocksAlignTheirCaptionsOnColumn20AndConstantsFollowTheFunction) {
  ProblemModel model = TwoVariables();
  const std::vector<std::string> expected = {
      "FUNCTION:",
      "x^2+y",
      "",
      "           VARIABLE: x",
      "               TYPE: POLYNOMIAL",
      "         # OF TERMS: 3 ",
      "           INTERVAL: [-1 , 1 ]",
      "CENTER OF EXPANSION: 0 ",
      "",
      "           VARIABLE: y",
      "               TYPE: TRIGONOMETRIC",
      "         # OF TERMS: 2 ",
      "           INTERVAL: [ 0 , 6.28 ]",
      "CENTER OF EXPANSION: .5 ",
      "             PERIOD: 6.28318530717959 ",
  };
  EXPECT_EQ(Report(model, "x^2+y", {}), expected);
  model.Constants[0] = "a=2.37";
  model.ConstCount = 1;
  const auto lines = Report(model, "a*x", {"a=2.37"});
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.begin() + 7),
            (std::vector<std::string>{"", "CONSTANTS:", "a=2.37", "", "           VARIABLE: x"}));
}

TEST(ReportLines, TenTermsAndNegativeCentre) {
  ProblemModel model = TwoVariables();
  model.LastVar = 0;
  model.LastTerm = {9, 0, 0, 0};
  model.Center[0] = -0.25;
  const auto lines = Report(model, "x", {});
  EXPECT_EQ(lines[5], "         # OF TERMS: 10 ");
  EXPECT_EQ(lines[7], "CENTER OF EXPANSION:-.25 ");
  EXPECT_EQ(lines.size(), 8u);
}

TEST(ReportLines, CoefficientSectionFollowsOnlyWithAFit) {
  ProblemModel model = TwoVariables();
  model.Coef.Allocate(model.LastTerm);
  for (std::size_t n = 0; n < model.Coef.size(); ++n) model.Coef.data()[n] = double(n) + 1;
  EXPECT_EQ(Report(model, "x", {}).size(), 15u);

  model.HaveResults = true;
  const auto lines = Report(model, "x", {});
  // 15 problem lines, an empty line, the heading, an empty line, 3 x 2 term lines and the
  // empty lines after each run of x (2), of y (1) and of the third slot (1).
  ASSERT_EQ(lines.size(), 15u + 3u + 6u + 4u);
  EXPECT_EQ(lines[15], "");
  EXPECT_EQ(lines[16], "COEFFICIENTS:");
  EXPECT_EQ(lines[17], "");
  EXPECT_EQ(lines[23].substr(0, 38), "5                       *x*sin(y-0.5) ");
}

// A Chebyshev variable's block names the kind and the map instead of a centre, and its
// terms are labelled by polynomial and variable.
TEST(ReportLines, ChebyshevBlockGivesTheMapAndTermsTheirPolynomials) {
  ProblemModel model = TwoVariables();
  model.Kind[1] = TermKind::Chebyshev;
  model.LowerLimit[1] = -3;
  model.UpperLimit[1] = 1;
  model.HaveResults = true;
  model.Coef.Allocate({2, 1, 0, 0});
  const std::vector<std::string> lines = Report(model, "x^2+y", {});
  EXPECT_EQ(lines[10], "               TYPE: CHEBYSHEV");
  EXPECT_EQ(lines[13], "                MAP: s = (y + 1) / 2");
  EXPECT_EQ(lines[14], "");
  EXPECT_EQ(lines[23].substr(24, 12), "*x^2*T1(y)  ");
}

}  // namespace
}  // namespace quon
