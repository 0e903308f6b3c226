#include "core/io/spec_file.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/model/gather_specs.h"
#include "engine/number_text.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

using test::DataPath;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

class GoldenPair : public testing::TestWithParam<const char*> {};

// write -> read -> write: the pair read from the checked-in files and written again is the
// same, byte for byte.
TEST_P(GoldenPair, RoundTripsByteForByte) {
  const std::string golden = DataPath(std::string("spec/") + GetParam() + ".qsp");
  ProblemModel model;
  const EntryFields fields = OpenSpecFile(golden, model);

  ScratchDir dir;
  const std::string copy = dir.Path("copy.qsp");
  EXPECT_EQ(WriteSpecFile(copy, fields, model), SaveOutcome::Saved);
  EXPECT_EQ(ReadBytes(copy), ReadBytes(golden));
  EXPECT_EQ(ReadBytes(copy + ".str"), ReadBytes(golden + ".str"));
  EXPECT_EQ(model.SpecFile, copy);
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenPair,
                         testing::Values("two_variables_no_results", "parabola_with_results",
                                         "four_variables_with_results", "chebyshev_with_results"));

// The stored results come back in canonical order. Then coefficients at the ends of the
// double's range: the pair written, read and written again is the same text, and what can
// be told apart in the text form comes back apart.
TEST(SpecFile, StoredResultsComeBackInOrderAndExtremeCoefficientsSurviveSaveAndOpen) {
  ProblemModel model;
  const EntryFields fields = OpenSpecFile(DataPath("spec/four_variables_with_results.qsp"), model);
  ASSERT_TRUE(model.HaveResults);
  EXPECT_EQ(model.Coef(0, 0, 0, 0), 0.5);
  EXPECT_EQ(model.Coef(1, 0, 0, 0), -0.25);
  EXPECT_EQ(model.Coef(0, 1, 1, 0), -1.23456789012346e15);
  EXPECT_EQ(model.Coef(1, 1, 1, 1), -8.0);
  // A centre or period that is not exactly "*" reads as its leading number.
  EXPECT_EQ(model.Center[2], 0.0);  // "abc"
  EXPECT_EQ(model.Period[3], 0.0);  // " *"
  EXPECT_EQ(model.Center[3], 0.0);  // "*" over [-1, 1]
  EXPECT_EQ(model.Center[0], 0.25);
  EXPECT_EQ(model.Equation, "Len(\"a,b\")+x*y+d-c");
  EXPECT_EQ(model.Constants[0], "d=Round(2.567,2)");  // whole line, comma and all
  EXPECT_EQ(model.Constants[2], "e2=d, c");

  const double extremes[] = {4.94065645841247e-324,
                             -4.94065645841247e-322,
                             -2.2250738585072e-308,
                             2.2250738585072014e-308,
                             -0.0,
                             1e-300,
                             1e308,
                             -1.79769313486231e308,
                             123456789012345e280,
                             1e15,
                             HUGE_VAL,
                             -HUGE_VAL,
                             NAN,
                             0.1,
                             -1.0 / 3,
                             9.99999999999999e-5};
  ASSERT_EQ(model.Coef.size(), std::size(extremes));
  std::copy(std::begin(extremes), std::end(extremes), model.Coef.data());
  const SpecFileTexts written = FormatSpecFile(fields, model);

  ProblemModel opened;
  const EntryFields reopened =
      ApplySpecFile(ParseSpecFile(written.Main, written.TextFile, "p"), "p", opened);
  ASSERT_TRUE(opened.HaveResults);
  EXPECT_EQ(FormatSpecFile(reopened, opened).Main, written.Main);
  for (std::size_t i = 0; i < std::size(extremes); ++i) {
    EXPECT_EQ(TextForm(opened.Coef.data()[i]), TextForm(extremes[i])) << i;
  }
  EXPECT_GT(opened.Coef.data()[0], 0.0);  // the smallest subnormal is not lost to zero
}

// Gathering and the save-time check read the entry fields alike: fields just gathered
// always describe the results, however they are spelled.
struct SpellingCase {
  const char* name;
  VariableFields fields;
};

class GatheredFields : public testing::TestWithParam<SpellingCase> {};

TEST_P(GatheredFields, AlwaysMatchTheResults) {
  ProblemModel model;
  model.AllocatePerVariableArrays();
  model.LastVar = 1;
  model.VarName = {"x", "y"};
  EntryFields fields;
  fields.Variables = {GetParam().fields, VariableFields{"-1", "1", "*", "7", "3", false}};
  GatherSpecs(model, fields);
  model.HaveResults = true;
  EXPECT_TRUE(FieldsMatchResults(fields, model));
  SaveOutcome outcome = SaveOutcome::SavedWithoutResults;
  EXPECT_NE(FormatSpecFile(fields, model, &outcome).Main.find("#TRUE#\r\n"), std::string::npos);
  EXPECT_EQ(outcome, SaveOutcome::Saved);
}

const SpellingCase kSpellings[] = {
    {"Defaults", {}},
    {"BlanksAndTrailingText", {" -2 ", "3abc", "*", "*", " 4.5", true}},
    {"CommasEndTheNumbers", {"1,5", "2,5", "2,25", "1,5", "3", false}},
    {"HexAndExponentWithBlankStars", {"&H10", "1E2", " *", "* ", "3.5", false}},
    {"TinyLimitsAndEmptyPeriod", {"-1e-300", "1e-300", "0.1", "", "2.5000001", true}},
    {"OnePeriodOfTrigTerms", {"0", "6.28318530717959", "*", "*", "3", false}},
    {"ReversedLimitsAndAHugeCentre", {"5", "-5", "1.7976931348623E+308", "0", "2", false}},
};

INSTANTIATE_TEST_SUITE_P(Spellings, GatheredFields, testing::ValuesIn(kSpellings),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpecFile, ExampleFillsTheModelAndTheFields) {
  ProblemModel model;
  const EntryFields fields = OpenSpecFile(DataPath("spec/two_variables_no_results.qsp"), model);
  EXPECT_EQ(model.LastVar, 1);
  EXPECT_EQ(model.VarName, (std::vector<std::string>{"x", "y", "", ""}));
  EXPECT_EQ(model.LowerLimit[0], -1.0);
  EXPECT_EQ(model.UpperLimit[1], 6.28);
  EXPECT_EQ(model.Center[0], 0.0);  // "*": the middle of [-1, 1]
  EXPECT_EQ(model.Center[1], 0.0);
  EXPECT_EQ(model.Period[1], model.Pi + model.Pi);
  EXPECT_EQ(model.LastTerm, (PerVariable<int32_t>{4, 3, 0, 0}));
  EXPECT_EQ(model.Kind[0], TermKind::Power);
  EXPECT_EQ(model.Kind[1], TermKind::Trigonometric);
  EXPECT_FALSE(model.HaveResults);
  EXPECT_EQ(model.Equation, "x^2*sin(y)+4*cos(z)-t");
  EXPECT_EQ(model.ConstCount, 1);
  EXPECT_EQ(model.Constants[0], "a=2.37");

  ASSERT_EQ(fields.Variables.size(), 2u);
  EXPECT_EQ(fields.Variables[0].LowerLimit, "-1");
  EXPECT_EQ(fields.Variables[0].Terms, "5");
  EXPECT_EQ(fields.Variables[0].Expansion, "*");
  EXPECT_EQ(fields.Variables[1].Expansion, "0");
  EXPECT_EQ(fields.Variables[1].UpperLimit, "6.28");
  EXPECT_FALSE(fields.Variables[1].PowerChecked);
  EXPECT_EQ(fields.ConstantItems, std::vector<std::string>{"a=2.37"});
}

struct NumberCase {
  const char* name;
  const char* item;
  double expected;
};

class NumberSpelling : public testing::TestWithParam<NumberCase> {};

// Read as a coefficient: limits must be finite.
TEST_P(NumberSpelling, ReadsAsACoefficient) {
  const std::string main = std::string(" 0 \r\n\"x\",0,1,\"*\",#TRUE#,\"*\",1\r\n#TRUE#\r\n") +
                           GetParam().item + "\r\n 0 \r\n";
  const SpecFileContents contents = ParseSpecFile(main, "\"x\"\r\n 0 \r\n", "p");
  const double value = contents.Coef.data()[0];
  if (std::isnan(GetParam().expected)) {
    EXPECT_TRUE(std::isnan(value));
  } else {
    EXPECT_EQ(value, GetParam().expected);
    EXPECT_EQ(std::signbit(value), std::signbit(GetParam().expected));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Items, NumberSpelling,
    testing::Values(
        NumberCase{"LeadingZero", "0.5", 0.5}, NumberCase{"NoLeadingZero", ".5", 0.5},
        NumberCase{"NegativeNoLeadingZero", "-.25", -0.25}, NumberCase{"PlusSign", "+2", 2.0},
        NumberCase{"BlanksAround", "  7  ", 7.0}, NumberCase{"ExponentForm", "1.5E+15", 1.5e15},
        NumberCase{"SmallExponent", "1E-05", 1e-5}, NumberCase{"LowerCaseExponent", "2e3", 2000.0},
        NumberCase{"TrailingPoint", "3.", 3.0}, NumberCase{"Infinity", "Infinity", HUGE_VAL},
        NumberCase{"NegativeInfinity", "-Infinity", -HUGE_VAL},
        NumberCase{"NotANumber", "NaN", NAN},
        NumberCase{"TextFormOfTheLargestDouble", "1.79769313486232E+308", DBL_MAX},
        NumberCase{"BeyondTheLargestDouble", "1.79769313486233E+308", HUGE_VAL},
        NumberCase{"NegativeBeyondRange", "-1E+999", -HUGE_VAL},
        NumberCase{"BelowTheSmallestDouble", "1E-999", 0.0}, NumberCase{"NegativeZero", "-0", -0.0},
        NumberCase{"Subnormal", "4.94065645841247E-324", 4.94065645841247e-324}),
    [](const testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

struct TermsCase {
  const char* name;
  const char* item;
  int32_t lastTerm;
};

class StoredNumberOfTerms : public testing::TestWithParam<TermsCase> {};

// A field that held "2.4" was written as the item 1.4; it reads as gathering reads "2.4".
TEST_P(StoredNumberOfTerms, IsRoundedHalvesToEven) {
  const std::string main =
      std::string(" 0 \r\n\"x\",0,1,\"*\",#TRUE#,\"*\",") + GetParam().item + "\r\n#FALSE#\r\n";
  EXPECT_EQ(ParseSpecFile(main, "\"x\"\r\n 0 \r\n", "p").Variables[0].LastTerm,
            GetParam().lastTerm);
}

INSTANTIATE_TEST_SUITE_P(
    Items, StoredNumberOfTerms,
    testing::Values(TermsCase{"Whole", "9", 9}, TermsCase{"BelowHalf", "1.4", 1},
                    TermsCase{"HalfToEvenDown", "2.5", 2}, TermsCase{"HalfToEvenUp", "3.5", 4},
                    TermsCase{"AboveHalf", "1.6", 2}),
    [](const testing::TestParamInfo<TermsCase>& info) { return std::string(info.param.name); });

TEST(SpecFile, ReadsLineFeedsAndItemsSplitOverLines) {
  const SpecFileContents contents =
      ParseSpecFile(" 0\n\"x\"\n-1\n1,\"*\",#true#,\"*\",2\n#TRUE#\n1,2\n3", "x+1\n 1 \nb=2", "p");
  EXPECT_EQ(contents.Variables[0].LowerLimit, -1.0);
  EXPECT_EQ(contents.Variables[0].LastTerm, 2);
  EXPECT_EQ(contents.Coef(2, 0, 0, 0), 3.0);
  EXPECT_EQ(contents.Equation, "x+1");
  EXPECT_EQ(contents.Constants, std::vector<std::string>{"b=2"});
}

}  // namespace
}  // namespace quon
