// Values computed elsewhere at the nodes: the nodes table reads back as the grid, values
// in any order give exactly the coefficients of the samples, and every faulty table is
// refused with its row and column.
#include "core/datafit/node_values.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/batch/csv_fields.h"
#include "core/fit/fit_driver.h"
#include "core/report/listing.h"
#include "engine/number_text.h"
#include "support/file_test_support.h"
#include "support/fitted_model.h"

namespace quon {
namespace {

ProblemModel TwoByThree() {
  return testing::SpecifiedModel({{"x", false, 2, -1.0, 1.0}, {"y", true, 3, 0.0, 0.3, 0.0, 1.0}});
}

// The values table of f at the nodes, rows reversed and columns as "value,y,x".
std::string ValuesTable(const ProblemModel& model, const std::function<double(double, double)>& f) {
  std::vector<std::string> rows;
  WriteNodesTable(model, [&](const std::string& line) { rows.push_back(line); });
  std::string text = "value,y,x\n";
  for (std::size_t r = rows.size(); r-- > 1;) {
    const std::vector<std::string> xy = SplitCsvFields(rows[r]);
    text += RoundTripText(f(*CsvFieldNumber(xy[0]), *CsvFieldNumber(xy[1]))) + "," + xy[1] + "," +
            xy[0] + "\n";
  }
  return text;
}

TEST(NodeValues, GiveTheSameListingAsTheSamplesOfTheFunction) {
  const auto f = [](double x, double y) { return std::exp(x) + 3 * std::sin(y); };
  ProblemModel sampled = TwoByThree();
  testing::FitTo(sampled,
                 testing::Always([&](std::span<const double> p) { return f(p[0], p[1]); }));
  ProblemModel model = TwoByThree();
  test::ScratchDir dir;
  test::WriteBytes(dir.Path("values.csv"), ValuesTable(model, f));
  model.Coef.Allocate({1, 2, 0, 0});
  ReadNodeValues(model, dir.Path("values.csv"));
  ASSERT_FALSE(SolveSamples(model).has_value());
  model.HaveResults = true;
  ASSERT_EQ(ListingLineCount(model), ListingLineCount(sampled));
  for (int64_t line = 0; line < ListingLineCount(model); ++line) {
    EXPECT_EQ(ListingLine(model, line), ListingLine(sampled, line));
  }
}

TEST(NodeValues, TheNodesTableHasEveryNodeWithSeventeenDigits) {
  std::vector<std::string> rows;
  WriteNodesTable(TwoByThree(), [&](const std::string& line) { rows.push_back(line); });
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], "x,y");
  EXPECT_EQ(rows[1], "-1.0000000000000000e+00,0.0000000000000000e+00");
  EXPECT_EQ(rows[6], "1.0000000000000000e+00," + SeventeenDigits(0.3));
}

struct BadValues {
  const char* name;
  const char* table;
  const char* message;
};

class NodeValuesRefused : public ::testing::TestWithParam<BadValues> {};

TEST_P(NodeValuesRefused, NamesTheRowAndColumnOrTheNode) {
  test::ScratchDir dir;
  test::WriteBytes(dir.Path("values.csv"), GetParam().table);
  ProblemModel model = testing::SpecifiedModel({{"x", false, 2, 0.0, 1.0}});
  model.Coef.Allocate({1, 0, 0, 0});
  try {
    ReadNodeValues(model, dir.Path("values.csv"));
    FAIL() << "accepted";
  } catch (const PointsFileError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, NodeValuesRefused,
    ::testing::Values(BadValues{"MissingNode", "x,value\n0,1\n", "the node x = 1 has no row"},
                      BadValues{"DuplicatedNode", "x,value\n0,1\n1,2\n0,3\n",
                                "row 4, column 1: the node x = 0 has a row already (row 2)"},
                      BadValues{"OffTheGrid", "x,value\n0,1\n0.999999,2\n",
                                "row 3, column 1: x = 0.999999 is no node"},
                      BadValues{"WithinTheTolerance", "x,value\n0,1\n1.0000000000001,2\n1,3\n",
                                "row 4, column 1: the node x = 1 has a row already"},
                      BadValues{"ValueNotFinite", "x,value\n0,1\n1,nan\n", "row 3, column 2"},
                      BadValues{"ExtraField", "x,value\n0,1,2\n", "row 2, column 3"},
                      BadValues{"NoValueColumn", "x\n0\n", "no column value"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
