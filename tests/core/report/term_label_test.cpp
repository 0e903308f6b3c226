#include "core/report/term_label.h"

#include <gtest/gtest.h>

#include <string>

namespace quon {
namespace {

ProblemModel OneVariable(bool power, double center, int32_t lastTerm, const char* name = "x") {
  ProblemModel model;
  model.LastVar = 0;
  model.VarName = {name};
  model.Kind[0] = power ? TermKind::Power : TermKind::Trigonometric;
  model.Center[0] = center;
  model.LastTerm[0] = lastTerm;
  model.Coef.Allocate({lastTerm, 0, 0, 0});
  return model;
}

// ---- One factor: every row and column of the table of factors ------------------------

struct FactorCase {
  const char* name;
  bool power;
  int32_t t;
  double center;
  const char* factor;
};

class FactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(FactorTest, SpellsTheFactor) {
  const FactorCase& c = GetParam();
  const ProblemModel model = OneVariable(c.power, c.center, 8);
  EXPECT_EQ(TermFactor(model, 0, c.t), c.factor);
}

const FactorCase kFactorCases[] = {
    {"PowerConstant", true, 0, 1.5, ""},
    {"PowerFirstCentreZero", true, 1, 0.0, "*x"},
    {"PowerFirstCentrePositive", true, 1, 1.5, "*(x-1.5)"},
    {"PowerFirstCentreNegative", true, 1, -1.5, "*(x+1.5)"},
    {"PowerThirdCentreZero", true, 3, 0.0, "*x^3"},
    {"PowerThirdCentrePositive", true, 3, 1.5, "*(x-1.5)^3"},
    {"PowerThirdCentreNegative", true, 3, -1.5, "*(x+1.5)^3"},
    {"SineCentreZero", false, 1, 0.0, "*sin(x)"},
    {"SineCentrePositive", false, 1, 1.5, "*sin(x-1.5)"},
    {"SineCentreNegative", false, 1, -1.5, "*sin(x+1.5)"},
    {"CosineCentreZero", false, 2, 0.0, "*cos(x)"},
    {"CosineCentrePositive", false, 2, 1.5, "*cos(x-1.5)"},
    {"CosineCentreNegative", false, 2, -1.5, "*cos(x+1.5)"},
    {"SecondSineCentreZero", false, 3, 0.0, "*sin(2*x)"},
    {"SecondSineCentrePositive", false, 3, 1.5, "*sin(2*(x-1.5))"},
    {"SecondSineCentreNegative", false, 3, -1.5, "*sin(2*(x+1.5))"},
    {"ThirdCosineCentreZero", false, 6, 0.0, "*cos(3*x)"},
    {"CentreInExponentForm", true, 1, 1e-5, "*(x-1E-05)"},
};

INSTANTIATE_TEST_SUITE_P(TermLabels, FactorTest, ::testing::ValuesIn(kFactorCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Whole lines ---------------------------------------------------------------------

TEST(TermLabel, ConstantTermIsCoefficientAnd255BlanksOtherLabelsStartInColumn25) {
  ProblemModel model = OneVariable(true, 1.0, 2);
  model.Coef(0, 0, 0, 0) = -1.25;
  EXPECT_EQ(TermLabel(model, {0, 0, 0, 0}), "-1.25" + std::string(255, ' '));
  model.Coef(2, 0, 0, 0) = 0.5;
  const std::string expected =
      "0.5" + std::string(21, ' ') + "*(x-1)^2" + std::string(255 - 21 - 8, ' ');
  EXPECT_EQ(TermLabel(model, {2, 0, 0, 0}), expected);
}

TEST(TermLabel, LongestCoefficientLeavesColumn25AndSlotsAboveLastVarAddNothing) {
  ProblemModel model = OneVariable(true, 0.0, 1);
  model.VarName.push_back("y");
  model.Coef(1, 0, 0, 0) = -1.2345678901234567e-100;  // 22 characters
  const std::string line = TermLabel(model, {1, 0, 0, 0});
  EXPECT_EQ(line.substr(0, 24), "-1.23456789012346E-100  ");
  EXPECT_EQ(line.substr(24, 3), "*x ");
  model.Coef(1, 0, 0, 0) = 7.0;
  EXPECT_EQ(TermLabel(model, {1, 0, 0, 0}).substr(0, 27), "7                       *x ");
}

TEST(TermLabel, FactorsOfSeveralVariablesFollowInVariableOrder) {
  ProblemModel model;
  model.LastVar = 2;
  model.VarName = {"x", "y", "z"};
  model.Kind = {TermKind::Power, TermKind::Trigonometric, TermKind::Power, TermKind::Power};
  model.Center = {0.0, 0.0, 1.0, 0.0};
  model.LastTerm = {2, 2, 1, 0};
  model.Coef.Allocate(model.LastTerm);
  model.Coef(2, 2, 1, 0) = 3.0;
  EXPECT_EQ(TermLabel(model, {2, 2, 1, 0}).substr(0, 41),
            "3                       *x^2*cos(y)*(z-1)");
  // A constant factor in the middle adds nothing.
  EXPECT_EQ(TermLabel(model, {1, 0, 1, 0}).substr(24, 12), "*x*(z-1)    ");
}

TEST(TermLabel, LabelLongerThanTheLineIsCut) {
  ProblemModel model;
  model.LastVar = 3;
  const std::string name(70, 'v');
  model.VarName = {name, name, name, name};

  model.Center = {-1.5, -1.5, -1.5, -1.5};
  model.LastTerm = {2, 2, 2, 2};
  model.Coef.Allocate(model.LastTerm);
  model.Coef(2, 2, 2, 2) = 1.0;
  const std::string line = TermLabel(model, {2, 2, 2, 2});
  ASSERT_EQ(line.size(), 1u + 255u);
  const std::string factor = "*(" + name + "+1.5)^2";
  const std::string label = factor + factor + factor + factor;
  EXPECT_EQ(line.substr(24), label.substr(0, 256 - 24));
}

TEST(TermLabel, IndexOutsideCoefIsRefused) {
  const ProblemModel model = OneVariable(true, 0.0, 2);
  EXPECT_THROW(TermLabel(model, {3, 0, 0, 0}), std::out_of_range);
  EXPECT_THROW(TermLabel(model, {0, 1, 0, 0}), std::out_of_range);
  EXPECT_THROW(TermLabel(model, {-1, 0, 0, 0}), std::out_of_range);
  EXPECT_THROW(TermLabel(ProblemModel{}, {0, 0, 0, 0}), std::out_of_range);
}

}  // namespace
}  // namespace quon
