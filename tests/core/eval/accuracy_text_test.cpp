// The accuracy check in words and in key lines.
#include "core/eval/accuracy_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace quon {
namespace {

struct ShortCase {
  const char* name;
  double value;
  const char* text;
};

class ShortForms : public ::testing::TestWithParam<ShortCase> {};

TEST_P(ShortForms, RoundToThreeSignificantDigits) {
  EXPECT_EQ(ShortForm(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShortForms,
    ::testing::Values(ShortCase{"Zero", 0.0, "0"}, ShortCase{"Small", 1.23456e-14, "1.23E-14"},
                      ShortCase{"TrailingZerosDropped", 2e-16, "2E-16"},
                      ShortCase{"Plain", 7.2345, "7.23"}, ShortCase{"Negative", -0.5, "-0.5"},
                      ShortCase{"PlainSmall", 0.000123456, "0.000123"},
                      ShortCase{"RoundsUpIntoTheNextDecade", 999999.0, "1E+06"},
                      ShortCase{"LargestPlain", 123456.0, "123000"},
                      ShortCase{"Huge", 3.2e300, "3.2E+300"},
                      ShortCase{"Infinite", std::numeric_limits<double>::infinity(), "Infinity"}),
    [](const auto& info) { return std::string(info.param.name); });

AccuracyResult Sample() {
  AccuracyResult result;
  result.Checked = true;
  result.Names = {"x", "y"};
  result.MaxAbsDiff = 0.0123456789;
  result.MaxRelDiff = 0.00123456789;
  result.RmsDiff = 0.001;
  result.WorstPoint = {-0.95, 2.5};
  result.CheckPoints = 2401;
  result.FailedPoints = 3;
  result.Warnings.push_back({1, "y", 25, TermKind::Power, 3.2e12});
  return result;
}

TEST(AccuracyText, SummaryNamesTheWorstPointAndTheFailuresOrThatEveryPointFails) {
  AccuracyResult result = Sample();
  EXPECT_EQ(AccuracySummaryLine(result),
            "Between the nodes (2401 points): largest difference 0.0123 (relative 0.00123) at "
            "x=-0.95, y=2.5; RMS 0.001, 3 points failed.");
  result.FailedPoints = result.CheckPoints;
  EXPECT_EQ(AccuracySummaryLine(result),
            "Between the nodes (2401 points): the function fails at every point.");
  EXPECT_EQ(AccuracySummaryLine(AccuracyResult{}), "");
}

TEST(AccuracyText, KeyValuesCarryFullValues) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"max_abs_diff", "0.0123456789"},
      {"max_rel_diff", "0.00123456789"},
      {"rms_diff", "0.001"},
      {"worst_point", "-0.95,2.5"},
      {"check_points", "2401"},
      {"failed_points", "3"},
      {"warning", ConditionWarningText(Sample().Warnings[0])}};
  EXPECT_EQ(AccuracyKeyValues(Sample()), expected);
  AccuracyResult failed;
  failed.CheckPoints = failed.FailedPoints = 24;
  EXPECT_EQ(AccuracyKeyValues(failed)[0].second, "none (every point failed)");
}

// The warning names the variable, the count and kind of its terms and the estimate, and
// suggests the other kind of terms.
TEST(AccuracyText, WarningSuggestsTheOtherKindOfTerms) {
  const std::string power = ConditionWarningText(Sample().Warnings[0]);
  EXPECT_EQ(power.rfind("y: the 25 power terms", 0), 0u) << power;
  EXPECT_NE(power.find("3.2E+12"), std::string::npos) << power;
  EXPECT_TRUE(power.ends_with("or trigonometric terms.")) << power;
  const std::string trig = ConditionWarningText(
      {0, "t", 11, TermKind::Trigonometric, std::numeric_limits<double>::infinity()});
  EXPECT_EQ(trig.rfind("t: the 11 trigonometric terms", 0), 0u) << trig;
  EXPECT_NE(trig.find("singular"), std::string::npos) << trig;
  EXPECT_TRUE(trig.ends_with("or power terms.")) << trig;
}

}  // namespace
}  // namespace quon
