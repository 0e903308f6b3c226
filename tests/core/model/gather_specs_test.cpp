#include "core/model/gather_specs.h"

#include <gtest/gtest.h>

#include <string>

#include "core/model/node_geometry.h"

namespace quon {
namespace {

// A model whose number and names of variables have been accepted.
ProblemModel Accepted(int lastVar) {
  ProblemModel model;
  model.AllocatePerVariableArrays();
  model.LastVar = lastVar;
  const char* names[] = {"x", "y", "z", "t"};
  model.VarName.assign(names, names + lastVar + 1);
  return model;
}

EntryFields Fields(int variables) {
  EntryFields fields;
  fields.Variables.assign(static_cast<std::size_t>(variables), VariableFields{});
  return fields;
}

struct TermsCase {
  const char* name;
  const char* terms;
  int32_t lastTerm;
};

class GatherTermsTest : public ::testing::TestWithParam<TermsCase> {};

TEST_P(GatherTermsTest, RoundsTermsMinusOneHalfToEven) {
  ProblemModel model = Accepted(0);
  EntryFields fields = Fields(1);
  fields.Variables[0].Terms = GetParam().terms;
  GatherSpecs(model, fields);
  EXPECT_EQ(model.LastTerm[0], GetParam().lastTerm);
  EXPECT_EQ(model.Coef.extent(0), GetParam().lastTerm + 1);
}

const TermsCase kTermsCases[] = {
    {"Ten", "10", 9},
    {"TwoAndAHalfGivesTwo", "2.5", 2},
    {"ThreeAndAHalfGivesTwo", "3.5", 2},
    {"FourAndAHalfGivesFour", "4.5", 4},
    {"Two", "2", 1},
    {"JustAboveOneAndAHalf", "1.51", 1},
};

INSTANTIATE_TEST_SUITE_P(Gathering, GatherTermsTest, ::testing::ValuesIn(kTermsCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FieldCase {
  const char* name;
  const char* lower;
  const char* upper;
  const char* expansion;
  const char* period;
  double center;
  double periodValue;
  double nodeStep;
  double nodeStart;
};

class GatherFieldsTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(GatherFieldsTest, ReadsCentrePeriodAndDerivesTheNodes) {
  const FieldCase& c = GetParam();
  ProblemModel model = Accepted(0);
  EntryFields fields = Fields(1);
  fields.Variables[0] = {c.lower, c.upper, c.expansion, c.period, "3", false};
  GatherSpecs(model, fields);
  EXPECT_EQ(model.Center[0], c.center);
  EXPECT_EQ(model.Period[0], c.periodValue);
  const NodeGeometry g = VariableGeometry(model, 0);
  EXPECT_EQ(g.NodeStep, c.nodeStep);
  EXPECT_EQ(g.NodeStart, c.nodeStart);
  EXPECT_EQ(model.Kind[0], TermKind::Trigonometric);
}

const FieldCase kFieldCases[] = {
    {"StarCentreIsTheMiddle", "1", "2", "*", "*", 1.5, 2 * 3.141592653589793, 0.5, -0.5},
    {"TypedCentreSameAsStar", "1", "2", "1.5", "3", 1.5, 3.0, 0.5, -0.5},
    {"StarWithBlanksIsNotTheMarker", "1", "2", " *", "* ", 0.0, 0.0, 0.5, 1.0},
    {"CommaReadsUpToTheComma", "0", "4", "1,5", "2,5", 1.0, 2.0, 2.0, -1.0},
    {"ReversedLimitsGiveNegativeStep", "5", "-5", "*", "*", 0.0, 2 * 3.141592653589793, -5.0, 5.0},
    {"EqualLimitsGiveZeroStep", "3", "3", "0", "*", 0.0, 2 * 3.141592653589793, 0.0, 3.0},
};

INSTANTIATE_TEST_SUITE_P(Gathering, GatherFieldsTest, ::testing::ValuesIn(kFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GatherSpecs, DefaultSpecificationAndTwoVariablesShapeCoefAndLeaveHigherSlotsAlone) {
  ProblemModel model = Accepted(1);
  EntryFields fields = Fields(2);
  fields.Variables[1].Terms = "3";
  fields.Variables[1].PowerChecked = false;
  GatherSpecs(model, fields);
  EXPECT_EQ(model.Equation, "x^2*sin(y)+4*cos(z)-t");
  EXPECT_EQ(model.LowerLimit[0], -5.0);
  EXPECT_EQ(model.UpperLimit[0], 5.0);
  EXPECT_EQ(model.LastTerm[0], 9);
  EXPECT_EQ(model.Center[0], 0.0);
  EXPECT_EQ(model.Period[0], 6.283185307179586);
  EXPECT_EQ(model.Kind[0], TermKind::Power);
  EXPECT_EQ(VariableGeometry(model, 0).NodeStep, 10.0 / 9.0);
  EXPECT_EQ(VariableGeometry(model, 0).NodeStart, -5.0);
  EXPECT_FALSE(model.HaveResults);
  EXPECT_EQ(model.Coef.size(), 30u);
  EXPECT_EQ(model.Coef.extent(0), 10);
  EXPECT_EQ(model.Coef.extent(1), 3);
  EXPECT_EQ(model.Coef.extent(2), 1);
  EXPECT_EQ(model.Coef.extent(3), 1);
  for (std::size_t i = 0; i < model.Coef.size(); ++i) EXPECT_EQ(model.Coef.data()[i], 0.0);
  EXPECT_EQ(model.Kind[1], TermKind::Trigonometric);
  EXPECT_EQ(model.Kind[2], TermKind::Power);
  EXPECT_EQ(model.LastTerm[2], 0);
  EXPECT_EQ(model.Period[2], 0.0);
}

// ---- Refusals --------------------------------------------------------------------------

struct RefusalCase {
  const char* name;
  int variable;  // which of two variables gets the bad fields
  VariableFields fields;
  const char* messagePart;
};

class GatherRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(GatherRefusalTest, RefusesWithAMessageAndLeavesTheSpecificationAlone) {
  const RefusalCase& c = GetParam();
  ProblemModel model = Accepted(1);
  EntryFields good = Fields(2);
  GatherSpecs(model, good);
  const ProblemModel before = model;
  model.HaveResults = true;
  EntryFields fields = good;
  fields.Equation = "changed";
  fields.Variables[static_cast<std::size_t>(c.variable)] = c.fields;
  try {
    GatherSpecs(model, fields);
    ADD_FAILURE() << "not refused";
  } catch (const GatherError& e) {
    EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
  }
  EXPECT_FALSE(model.HaveResults);
  EXPECT_TRUE(model.Coef.empty());
  EXPECT_EQ(model.Equation, before.Equation);
  EXPECT_EQ(model.LastTerm, before.LastTerm);
  EXPECT_EQ(model.LowerLimit, before.LowerLimit);
  EXPECT_EQ(model.UpperLimit, before.UpperLimit);
  EXPECT_EQ(model.Center, before.Center);
  EXPECT_EQ(model.Kind, before.Kind);
}

const RefusalCase kRefusals[] = {
    {"OneTerm", 0, {"-5", "5", "*", "*", "1", true}, "Variable x needs at least 2 terms"},
    {"OneAndAHalfRoundsToOneTerm", 0, {"-5", "5", "*", "*", "1.5", true}, "at least 2 terms"},
    {"NoTermsText", 1, {"-5", "5", "*", "*", "", true}, "Variable y needs at least 2 terms"},
    {"NegativeTerms", 1, {"-5", "5", "*", "*", "-7", true}, "Variable y"},
    {"TermsBeyond32Bits", 0, {"-5", "5", "*", "*", "1E10", true}, "too large"},
    {"TermsInfinite", 0, {"-5", "5", "*", "*", "1E999", true}, "too large"},
    {"CentreOfHugeLimitsOverflows", 0, {"1.7E308", "1.7E308", "*", "*", "3", true}, "Variable x"},
    {"StepOfHugeLimitsOverflows", 1, {"-1.7E308", "1.7E308", "0", "*", "2", true}, "Variable y"},
    {"StartOfHugeLimitsOverflows", 0, {"-1.7E308", "0", "1.7E308", "*", "2", true}, "Variable x"},
    {"InfiniteLimit", 0, {"-1E400", "0", "0", "*", "2", true}, "Variable x"},
    {"GridTooLarge", 1, {"-5", "5", "*", "*", "300000000", true}, "too large"},
    {"TermsBeyondWhatTheEliminationCanUse",
     0,
     {"-5", "5", "*", "*", "2049", false},
     "Variable x: the number of terms 2049 is too large for the fit (at most 2048)"},
    {"BasisMatrixTooLarge", 0, {"-5", "5", "*", "*", "50000", true}, "too large"},
    {"ChebyshevOnAnEmptyInterval",
     1,
     {"2", "2", "*", "*", "5", true, true},
     "Variable y: Chebyshev terms need two different, finite limits"},
};

// The check boxes and the kind: Power alone, Power with Chebyshev, neither; Chebyshev alone
// counts as unchecked Power. A Chebyshev variable is taken about the middle of its interval
// with the period "*" stands for, whatever its fields say.
TEST(GatherSpecs, TheCheckBoxesChooseTheKindAndChebyshevTermsIgnoreCentreAndPeriod) {
  for (const TermKind kind : {TermKind::Power, TermKind::Trigonometric, TermKind::Chebyshev}) {
    VariableFields shown;
    ShowKind(shown, kind);
    EXPECT_EQ(KindOf(shown), kind);
  }
  EXPECT_EQ(KindOf({"-5", "5", "*", "*", "3", false, true}), TermKind::Trigonometric);
  const VariableReading r = ReadVariableFields({"1", "4", "7", "9", "6", true, true}, 3.0);
  EXPECT_EQ(r.Kind, TermKind::Chebyshev);
  EXPECT_EQ(r.Center, 2.5);
  EXPECT_EQ(r.Period, 6.0);
}

INSTANTIATE_TEST_SUITE_P(Gathering, GatherRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GatherSpecs, MissingVariableFieldsAreRefused) {
  ProblemModel model = Accepted(2);
  EXPECT_THROW(GatherSpecs(model, Fields(2)), GatherError);
}

}  // namespace
}  // namespace quon
