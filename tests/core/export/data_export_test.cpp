// The data exports read back, by a plain CSV parser and by the JSON library, give the
// listing's coefficients exactly.
#include "core/export/data_export.h"

#include <gtest/gtest.h>

#include <charconv>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/report/term_label.h"
#include "support/export_problems.h"
#include "support/file_test_support.h"

namespace quon {
namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

TEST(CsvExport, RowsGiveEveryCoefficientExactlyWithItsLabel) {
  const ProblemModel model = testing::MixedProblem();
  std::istringstream csv(CsvExport(model));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "x,y,z,term,coefficient");
  std::size_t rows = 0;
  while (std::getline(csv, line)) {
    const std::vector<std::string> f = Fields(line);
    ASSERT_EQ(f.size(), 5u) << line;
    const std::array<int32_t, 4> index{std::stoi(f[0]), std::stoi(f[1]), std::stoi(f[2]), 0};
    double coefficient = 0.0;
    std::from_chars(f[4].data(), f[4].data() + f[4].size(), coefficient);
    EXPECT_EQ(coefficient, model.Coef(index[0], index[1], index[2], 0));
    // The listing's line holds the same label from its label column on.
    const std::string listed = TermLabel(model, index);
    EXPECT_EQ(listed.substr(LabelColumn - 1, f[3].size()), f[3]);
    ++rows;
  }
  EXPECT_EQ(rows, model.Coef.size());
}

TEST(JsonExport, ReadsBackTheProblemAndExactCoefficientsAndNullAccuracyWithoutACheck) {
  const ProblemModel model = testing::TrigProblem();
  ExportInfo info;
  info.Constants = {"a=2"};
  AccuracyResult accuracy;
  accuracy.Checked = true;
  accuracy.MaxAbsDiff = 1.5e-14;
  accuracy.WorstPoint = {0.25, 1.0};
  info.Accuracy = accuracy;
  const nlohmann::json doc = nlohmann::json::parse(JsonExport(model, info));
  EXPECT_EQ(doc["function"], model.Equation);
  EXPECT_EQ(doc["constants"], nlohmann::json::array({"a=2"}));
  ASSERT_EQ(doc["variables"].size(), 2u);
  EXPECT_EQ(doc["variables"][1]["kind"], "trigonometric");
  EXPECT_EQ(doc["variables"][1]["period"].get<double>(), 3.0);
  EXPECT_EQ(doc["variables"][1]["center"].get<double>(), 0.5);
  EXPECT_EQ(doc["variables"][0]["terms"], 9);
  EXPECT_EQ(doc["accuracy"]["max_abs_diff"].get<double>(), 1.5e-14);
  const std::vector<double> coefficients = doc["coefficients"].get<std::vector<double>>();
  EXPECT_EQ(coefficients,
            std::vector<double>(model.Coef.data(), model.Coef.data() + model.Coef.size()));
  EXPECT_TRUE(nlohmann::json::parse(JsonExport(model, {}))["accuracy"].is_null());
}

// A Chebyshev term's text says which polynomial of which mapped argument it is.
TEST(DataExport, ChebyshevTermsCarryTheirKindAndMap) {
  const ProblemModel model = testing::ChebyshevProblem();
  std::istringstream csv(CsvExport(model));
  std::string line;
  for (int row = 0; row <= 2; ++row) std::getline(csv, line);
  EXPECT_EQ(Fields(line)[3], "*T1((x-0.5)/1.5)");
  for (int row = 3; row <= 15; ++row) std::getline(csv, line);  // coefficient (0, 1, 0)
  EXPECT_EQ(Fields(line)[3], "*T1((y-1.75)/-1.25)");
  const nlohmann::json doc = nlohmann::json::parse(JsonExport(model, {}));
  EXPECT_EQ(doc["variables"][2]["kind"], "Chebyshev");
  EXPECT_EQ(doc["variables"][2]["map"]["middle"].get<double>(), -2.5);
  EXPECT_EQ(doc["variables"][2]["map"]["half_width"].get<double>(), 1.5);
  EXPECT_FALSE(
      nlohmann::json::parse(JsonExport(testing::MixedProblem(), {}))["variables"][0].contains(
          "map"));
}

TEST(WriteExport, AFailedWriteLeavesNoFile) {
  test::ScratchDir dir;
  const std::string path = dir.Path("missing_folder/fit.json");
  EXPECT_ANY_THROW(WriteExport(path, ExportFormat::Json, testing::MixedProblem(), {}));
  ProblemModel noResults = testing::MixedProblem();
  noResults.HaveResults = false;
  EXPECT_THROW(WriteExport(dir.Path("fit.csv"), ExportFormat::Csv, noResults, {}), ExportError);
  EXPECT_TRUE(dir.Files().empty());
}

}  // namespace
}  // namespace quon
