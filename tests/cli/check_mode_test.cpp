// quonfit --check end to end: a pair on disk, fitted and checked, the key lines printed.
#include "check_mode.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "fit_mode.h"
#include "io/spec_file.h"
#include "support/file_test_support.h"
#include "support/mode_run.h"

namespace quon::cli {
namespace {

using test::ModeRun;

ModeRun Check(const std::vector<std::string>& args) {
  return test::RunMode([&](std::FILE* out, std::FILE* err) {
    const std::optional<CheckModeOptions> options = ParseCheckArguments(args, err);
    return options ? RunCheckMode(*options, out, err) : ExitUsage;
  });
}

// A one-variable pair of power terms, without results.
std::string WriteProblem(const test::ScratchDir& dir, const std::string& equation,
                         const std::string& terms, const std::string& lower = "-1",
                         const std::string& upper = "1") {
  ProblemModel model;
  model.AllocatePerVariableArrays();
  model.VarName = {"x"};
  EntryFields fields;
  fields.Equation = equation;
  fields.Variables.resize(1);
  fields.Variables[0].LowerLimit = lower;
  fields.Variables[0].UpperLimit = upper;
  fields.Variables[0].Terms = terms;
  const std::string path = dir.Path("problem.qsp");
  WriteSpecFile(path, fields, model);
  return path;
}

double Number(const std::string& text) {
  double value = NAN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string Value(const std::string& out, const std::string& key) {
  const std::size_t at = out.find(key + ": ");
  if (at == std::string::npos) return "(missing)";
  const std::size_t start = at + key.size() + 2;
  return out.substr(start, out.find('\n', start) - start);
}

TEST(CheckMode, RungeExampleReportsTheLargeErrorNearTheEnds) {
  test::ScratchDir dir;
  const ModeRun run = Check({WriteProblem(dir, "1/(1+25*x^2)", "15"), "--check"});
  ASSERT_EQ(run.code, ExitSuccess) << run.err;
  EXPECT_GT(Number(Value(run.out, "max_abs_diff")), 1.0);
  EXPECT_GT(std::fabs(Number(Value(run.out, "worst_point"))), 0.85);
  EXPECT_EQ(Value(run.out, "check_points"), "112");
  EXPECT_EQ(Value(run.out, "failed_points"), "0");
  EXPECT_EQ(run.out.find("warning:"), std::string::npos);
  // The keys, in order, one line each.
  EXPECT_EQ(run.out.find("max_abs_diff: "), 0u);
  const std::vector<std::string> keys = {
      "max_rel_diff: ", "rms_diff: ", "worst_point: ", "check_points: ", "failed_points: "};
  std::size_t last = 0;
  for (const std::string& key : keys) {
    const std::size_t at = run.out.find("\n" + key);
    ASSERT_NE(at, std::string::npos) << key;
    EXPECT_GT(at, last) << key;
    last = at;
  }
}

TEST(CheckMode, ExactInterpolantReportsRoundingOnly) {
  test::ScratchDir dir;
  const ModeRun run = Check({"--check", WriteProblem(dir, "3*x^3 - x + 2", "4", "-2", "3")});
  ASSERT_EQ(run.code, ExitSuccess) << run.err;
  EXPECT_LT(Number(Value(run.out, "max_abs_diff")), 1e-12);
}

TEST(CheckMode, ManyPowerTermsGiveAWarningLine) {
  test::ScratchDir dir;
  const ModeRun run = Check({WriteProblem(dir, "Exp(x)", "30"), "--check", "--check-points", "64"});
  ASSERT_EQ(run.code, ExitSuccess) << run.err;
  EXPECT_NE(run.out.find("\nwarning: x: the 30 power terms are ill-conditioned"), std::string::npos)
      << run.out;
  // 29 intervals: two points in each fit in 64.
  EXPECT_EQ(Value(run.out, "check_points"), "58");
}

TEST(CheckMode, FailingPointsAreCounted) {
  test::ScratchDir dir;
  // Nodes -1, 0, 1 (Sqr(0) is fine); every check point left of 0 fails with error 5.
  const ModeRun run =
      Check({WriteProblem(dir, "Sqr(x)", "3"), "--check", "--check-per-interval", "1"});
  ASSERT_EQ(run.code, ExitSuccess) << run.err;
  EXPECT_EQ(Value(run.out, "check_points"), "2");
  EXPECT_EQ(Value(run.out, "failed_points"), "1");
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  const char* message;
};

class CheckModeUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CheckModeUsage, RefusedWithAMessage) {
  const ModeRun run = Check(GetParam().args);
  EXPECT_EQ(run.code, ExitUsage);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CheckModeUsage,
    ::testing::Values(
        UsageCase{"NoFile", {"--check"}, "no specification file given"},
        UsageCase{
            "PointsWithoutNumber", {"f.qsp", "--check", "--check-points"}, "--check-points needs"},
        UsageCase{"ZeroPoints", {"f.qsp", "--check", "--check-points", "0"}, "whole number"},
        UsageCase{"TextForPoints", {"f.qsp", "--check", "--check-points", "12x"}, "whole number"},
        UsageCase{"TooManyPerInterval",
                  {"f.qsp", "--check", "--check-per-interval", "1001"},
                  "from 1 to 1000"},
        UsageCase{"OtherOption", {"f.qsp", "--check", "--report"}, "unknown option --report"},
        UsageCase{"TwoFiles", {"a.qsp", "b.qsp", "--check"}, "more than one file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckMode, AMissingFileIsAFileError) {
  test::ScratchDir dir;
  const ModeRun run = Check({dir.Path("none.qsp"), "--check"});
  EXPECT_EQ(run.code, ExitFile);
  EXPECT_FALSE(run.err.empty());
}

TEST(CheckMode, ASingularFitPrintsItsLine) {
  test::ScratchDir dir;
  // Lower and upper limit equal: every node is the same point.
  const ModeRun run = Check({WriteProblem(dir, "x", "3", "1", "1"), "--check"});
  EXPECT_EQ(run.code, ExitSingular);
  EXPECT_EQ(run.out, "YIELDS SINGULAR MATRIX.\n");
}

TEST(CheckMode, OnlyArgumentsWithCheckAskForIt) {
  EXPECT_TRUE(WantsCheckMode({"f.qsp", "--check"}));
  EXPECT_FALSE(WantsCheckMode({"f.qsp", "--report"}));
}

}  // namespace
}  // namespace quon::cli
