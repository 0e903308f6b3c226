// The points file: errors that name their row and column, the kernel that rounds as the
// evaluator, and the output table with its failed rows kept.
#include <gtest/gtest.h>

#include "core/batch/points_evaluation.h"
#include "core/eval/approximation_kernel.h"
#include "core/eval/evaluator.h"
#include "engine/number_text.h"
#include "support/export_problems.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

const std::vector<std::string> kNames = {"x", "y", "z"};

struct BadFile {
  const char* name;
  const char* text;
  const char* where;
};

class PointsFileRefused : public ::testing::TestWithParam<BadFile> {};

TEST_P(PointsFileRefused, NamesRowAndColumn) {
  try {
    ParsePoints(GetParam().text, kNames, "points.csv");
    FAIL() << "accepted";
  } catch (const PointsFileError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().where), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PointsFileRefused,
    ::testing::Values(BadFile{"TextForANumber", "x,y,z\n1,2,3\n1,abc,3\n", "row 3, column 2"},
                      BadFile{"MissingColumn", "x,y,z\n1,2\n", "row 2, column 3"},
                      BadFile{"ExtraColumn", "x,y,z\n1,2,3,4\n", "row 2, column 4"},
                      BadFile{"EmptyField", "x,y,z\n1,,3\n", "row 2, column 2"},
                      BadFile{"Infinity", "x,y,z\n1,inf,3\n", "row 2, column 2"},
                      BadFile{"NumberWithTrailingText", "x,y,z\n1,2,3x\n", "row 2, column 3"},
                      BadFile{"UnknownVariable", "x,w,z\n", "row 1, column 2"},
                      BadFile{"VariableTwice", "x,y,X\n", "row 1, column 3"},
                      BadFile{"VariableLeftOut", "z,x\n1,2\n", "row 1, column 3"},
                      BadFile{"RowAfterEmptyLines", "x,y,z\n\n\n1,2\n", "row 4, column 3"},
                      BadFile{"TinyNumberIsOutOfRange", "x,y,z\n1,1e-999,3\n",
                              "row 2, column 2: \"1e-999\" is out of range"},
                      BadFile{"HugeFieldIsQuotedShortAndMasked",
                              "x,y,z\n1,2,\"\x01\x02"
                              "abcdefghijabcdefghijabcdefghijabcdefghijXYZ\"\n",
                              "\"??abcdefghijabcdefghijabcdefghijabcdefgh...\" is not a number"},
                      BadFile{"CarriageReturnsEndLines", "x,y,z\r1,2,3\r1,2\r", "row 3, column 3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointsFile, ColumnsInAnyOrderMapToTheVariables) {
  const PointsTable table =
      ParsePoints("\"Z\", y ,x\r\n3,2,1\r\n\r\n +6, -5e0 ,\"4\"\r\n", kNames, "points.csv");
  EXPECT_EQ(table.Coordinates, (std::vector<double>{1, 2, 3, 4, -5, 6}));
  EXPECT_THROW(ParsePoints("", kNames, "points.csv"), PointsFileError);
  const PointsTable marked = ParsePoints("\xEF\xBB\xBFx,y,z\r1,2,3", kNames, "points.csv");
  EXPECT_EQ(marked.Coordinates, (std::vector<double>{1, 2, 3}));
}

// Read in blocks: a table far longer than a block, lines cut anywhere between blocks (a
// CR LF across the cut too), reads as the whole text does; what is no regular file is
// refused with a message.
TEST(PointsFile, ReadsInBlocksAndRefusesWhatIsNoRegularFile) {
  std::string text = "x,y,z\r\n";
  for (int i = 0; i < 100000; ++i) text += std::to_string(i) + ",0.5,-2\r\n";
  test::ScratchDir dir;
  test::WriteBytes(dir.Path("points.csv"), text);
  EXPECT_EQ(ReadPointsFile(dir.Path("points.csv"), kNames).Coordinates,
            ParsePoints(text, kNames, "points.csv").Coordinates);
  for (const std::string& path : {dir.Path(""), std::string("/dev/zero")}) {
    try {
      ReadPointsFile(path, kNames);
      FAIL() << path << " accepted";
    } catch (const PointsFileError& e) {
      EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos) << e.what();
    }
  }
}

TEST(ApproximationKernel, EqualsTheEvaluatorBitForBit) {
  for (ProblemModel model : {testing::MixedProblem(), testing::TrigProblem()}) {
    ApproximationKernel kernel(model);
    const auto n = static_cast<std::size_t>(VariableCount(model));
    const std::vector<double> points = testing::RandomPoints(model, 200);
    for (std::size_t p = 0; p < points.size(); p += n) {
      const std::span<const double> point = std::span(points).subspan(p, n);
      ASSERT_EQ(kernel.At(point), Evaluate(model, point));
    }
  }
}

// The function fails (division by zero) where x < 0.
testing::TestFunctionSource FailingBelowZero() {
  return testing::TestFunctionSource([](std::span<const double> p, double& value) {
    value = p[0] + p[1];
    return p[0] < 0 ? 11 : 0;
  });
}

TEST(EvaluatePointsToFile, ACancelLeavesTheOlderFileAFinishedRunKeepsFailedRows) {
  const ProblemModel model = testing::MixedProblem();
  testing::TestFunctionSource function = FailingBelowZero();
  test::ScratchDir dir;
  test::WriteBytes(dir.Path("out.csv"), "older");
  const PointsTable points = ParsePoints("x,y,z\n0.5,1,2\n-0.5,1,2\n", kNames, "points.csv");
  const PointsRunSummary cancelled = EvaluatePointsToFile(
      model, function, points, dir.Path("out.csv"), [](int64_t, int64_t) { return false; });
  EXPECT_TRUE(cancelled.Cancelled);
  EXPECT_EQ(test::ReadBytes(dir.Path("out.csv")), "older");
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"out.csv"});
  const PointsRunSummary summary =
      EvaluatePointsToFile(model, function, points, dir.Path("out.csv"));
  EXPECT_EQ(summary.Rows, 2);
  EXPECT_EQ(summary.FunctionFailures, 1);
  std::istringstream out(test::ReadBytes(dir.Path("out.csv")));
  std::string header, good, failed;
  std::getline(out, header);
  std::getline(out, good);
  std::getline(out, failed);
  EXPECT_EQ(header, "x,y,z,function,approximation,difference");
  ApproximationKernel kernel(model);
  const double approximation = kernel.At(std::vector<double>{-0.5, 1, 2});
  EXPECT_EQ(failed, "-0.5,1,2,error 11," + RoundTripText(approximation) + ",");
  EXPECT_EQ(good.substr(0, 12), "0.5,1,2,1.5,");
}

// Evaluating a file block by block writes what evaluating its whole table writes.
TEST(EvaluatePointsFile, StreamedOutputEqualsTheWholeTables) {
  std::string text = "z,x,y\r\n";
  for (int i = -50000; i < 50000; ++i)
    text += std::to_string(i % 3) + "," + std::to_string(i) + "e-5" + ",1\r\n";
  test::ScratchDir dir;
  test::WriteBytes(dir.Path("points.csv"), text);
  const ProblemModel model = testing::MixedProblem();
  testing::TestFunctionSource function = FailingBelowZero();
  std::string whole, streamed;
  EvaluatePoints(model, function, ParsePoints(text, kNames, "points.csv"),
                 [&](std::string_view t) { whole += t; });
  const PointsRunSummary summary = EvaluatePointsFile(
      model, function, dir.Path("points.csv"), kNames, [&](std::string_view t) { streamed += t; });
  EXPECT_EQ(streamed, whole);
  EXPECT_EQ(summary.Rows, 100000);
  EXPECT_EQ(summary.FunctionFailures, 50000);
}

}  // namespace
}  // namespace quon
