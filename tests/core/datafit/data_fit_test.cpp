// The fit on data: the digits reached on the certified datasets of the statistical
// reference suite, exact recovery of coefficients from data the terms can represent,
// weights as repeated rows, and every refusal of a table with its reason.
#include "core/datafit/data_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "core/eval/evaluator.h"
#include "core/eval/point_evaluation.h"
#include "core/report/fit_statistics.h"
#include "core/report/report_lines.h"
#include "support/file_test_support.h"
#include "support/fitted_model.h"

namespace quon {
namespace {

// Correct digits of q against the certified c: the log relative error, capped at 15; an
// absolute one when c is 0.
double Digits(double q, double c) {
  const double error = c == 0.0 ? std::fabs(q) : std::fabs(q - c) / std::fabs(c);
  return error == 0.0 ? 15.0 : std::min(15.0, -std::log10(error));
}

struct Certified {
  std::vector<double> Coefficients;
  std::vector<double> Errors;
  double ResidualSd = 0.0;
};

Certified ReadCertified(const std::string& dataset) {
  Certified certified;
  std::istringstream in(test::ReadBytes(test::DataPath("strd/certified.csv")));
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f = SplitCsvFields(line);
    if (f[0] != dataset) continue;
    if (f[2] == "residual_sd") certified.ResidualSd = *CsvFieldNumber(f[3]);
    if (f[2][0] == 'b') {
      certified.Coefficients.push_back(*CsvFieldNumber(f[3]));
      certified.Errors.push_back(*CsvFieldNumber(f[4]));
    }
  }
  return certified;
}

ProblemModel PolynomialModel(int degree, double lower, double upper) {
  return testing::SpecifiedModel({{"x", false, degree + 1, lower, upper, 0.0}});
}

struct DatasetCase {
  const char* name;
  int degree;
};

class CertifiedDataset : public ::testing::TestWithParam<DatasetCase> {};

// The targets: 10 digits in every coefficient, 8 in every standard error and in the
// residual standard deviation.
TEST_P(CertifiedDataset, ReachesTheCertifiedDigits) {
  const std::string name = GetParam().name;
  const std::string path = test::DataPath("strd/" + name + ".csv");
  ProblemModel model = PolynomialModel(GetParam().degree, -1.0, 1.0);
  CsvDataSource table(path, {"x"}, std::nullopt);
  FitData(model, table, path);
  const Certified certified = ReadCertified(name);
  ASSERT_EQ(model.Coef.size(), certified.Coefficients.size());
  for (std::size_t j = 0; j < model.Coef.size(); ++j) {
    EXPECT_GE(Digits(model.Coef.data()[j], certified.Coefficients[j]), 10.0) << "b" << j;
    EXPECT_GE(Digits(model.DataFit.StandardErrors[j], certified.Errors[j]), 8.0) << "b" << j;
  }
  EXPECT_GE(Digits(model.DataFit.ResidualSd, certified.ResidualSd), 8.0);
  EXPECT_EQ(model.Origin, ResultsOrigin::Data);
  EXPECT_GT(model.DataFit.OutsideBox, 0);  // the box [-1, 1] holds few of the data
}

INSTANTIATE_TEST_SUITE_P(Table, CertifiedDataset,
                         ::testing::Values(DatasetCase{"norris", 1}, DatasetCase{"pontius", 2},
                                           DatasetCase{"wampler1", 5}, DatasetCase{"wampler2", 5},
                                           DatasetCase{"wampler3", 5}, DatasetCase{"wampler4", 5},
                                           DatasetCase{"wampler5", 5}, DatasetCase{"filip", 10}),
                         [](const auto& info) { return std::string(info.param.name); });

// Observations of a function at `count` random points of the model's box (fixed seed).
DataBlock Observe(const ProblemModel& model, int count,
                  const std::function<double(const double*)>& f) {
  std::mt19937 random(7);
  DataBlock data;
  const int nv = VariableCount(model);
  for (int i = 0; i < count; ++i) {
    std::vector<double> x(static_cast<std::size_t>(nv));
    for (int k = 0; k < nv; ++k) {
      const auto s = static_cast<std::size_t>(k);
      x[s] =
          std::uniform_real_distribution<double>(model.LowerLimit[s], model.UpperLimit[s])(random);
    }
    data.Coordinates.insert(data.Coordinates.end(), x.begin(), x.end());
    data.Values.push_back(f(x.data()));
  }
  return data;
}

ProblemModel MixedKinds() {
  return testing::SpecifiedModel(
      {{"x", false, 4, -1.0, 2.0, 0.5}, {"y", true, 5, 0.0, 3.0, 1.0, 3.0}});
}

ProblemModel ChebyshevAndTrig() {
  return testing::SpecifiedModel(
      {{"x", false, 6, -1.0, 2.0, 0.0, 0.0, true}, {"y", true, 5, 0.0, 3.0, 1.0, 3.0}});
}

TEST(FitData, RecoversTheCoefficientsOfDataTheTermsRepresent) {
  for (ProblemModel (*kinds)() : {MixedKinds, ChebyshevAndTrig}) {
    // Data made by an approximation of the same terms with known coefficients.
    ProblemModel truth = kinds();
    testing::FitTo(truth, testing::Always([](std::span<const double> p) {
                     return std::exp(p[0]) * std::cos(2.0 * p[1]);
                   }));
    ProblemModel model = kinds();
    MemoryDataSource source(2, Observe(model, 500, [&](const double* x) {
                              return Evaluate(truth, std::span<const double>(x, 2));
                            }));
    FitData(model, source, "memory");
    double largest = 0.0;
    for (std::size_t j = 0; j < truth.Coef.size(); ++j) {
      largest = std::max(largest, std::fabs(truth.Coef.data()[j]));
    }
    for (std::size_t j = 0; j < truth.Coef.size(); ++j) {
      EXPECT_NEAR(model.Coef.data()[j], truth.Coef.data()[j], 64 * DBL_EPSILON * largest) << j;
    }
    EXPECT_LT(model.DataFit.ResidualSd, 64 * DBL_EPSILON * largest);
    EXPECT_EQ(model.DataFit.Points, 500);
    EXPECT_EQ(model.DataFit.OutsideBox, 0);
  }
}

TEST(FitData, AWeightOfTwoIsTheRowTwiceAWeightOfZeroNoRow) {
  ProblemModel model = MixedKinds();
  DataBlock weighted =
      Observe(model, 60, [](const double* x) { return std::sin(3 * x[0] + x[1]); });
  DataBlock repeated = weighted;
  weighted.Weights.assign(weighted.Size(), 1.0);
  weighted.Weights[3] = 2.0;
  weighted.Weights[5] = 0.0;
  repeated.Coordinates.insert(repeated.Coordinates.end(), repeated.Coordinates.begin() + 6,
                              repeated.Coordinates.begin() + 8);
  repeated.Values.push_back(repeated.Values[3]);
  repeated.Coordinates.erase(repeated.Coordinates.begin() + 10, repeated.Coordinates.begin() + 12);
  repeated.Values.erase(repeated.Values.begin() + 5);
  ProblemModel twice = model;
  MemoryDataSource a(2, weighted);
  MemoryDataSource b(2, repeated);
  FitData(model, a, "weighted");
  FitData(twice, b, "repeated");
  for (std::size_t j = 0; j < model.Coef.size(); ++j) {
    EXPECT_NEAR(model.Coef.data()[j], twice.Coef.data()[j], 1e-12) << j;
  }
  EXPECT_NEAR(model.DataFit.ResidualSd * std::sqrt(59.0 - 20),
              twice.DataFit.ResidualSd * std::sqrt(60.0 - 20), 1e-12);
}

// A full grid is fitted through the tensor structure; a row of weight 0 makes the same
// observations scattered: both ways give the same fit.
TEST(FitData, AFullGridFitsAsTheSameObservationsScattered) {
  ProblemModel model = MixedKinds();
  DataBlock grid;
  for (int j = 0; j < 9; ++j) {
    for (int i = 0; i < 12; ++i) {
      const double x = -1.0 + 0.25 * i;
      const double y = 0.3 * j;
      grid.Coordinates.insert(grid.Coordinates.end(), {x, y});
      grid.Values.push_back(std::exp(x) * std::sin(y) + 0.01 * ((i * 7 + j * 3) % 5));
    }
  }
  DataBlock scattered = grid;
  scattered.Coordinates.insert(scattered.Coordinates.end(), {0.5, 0.5});
  scattered.Values.push_back(100.0);
  scattered.Weights.assign(scattered.Size(), 1.0);
  scattered.Weights.back() = 0.0;
  ProblemModel other = model;
  MemoryDataSource a(2, grid);
  MemoryDataSource b(2, scattered);
  FitData(model, a, "grid");
  FitData(other, b, "scattered");
  for (std::size_t j = 0; j < model.Coef.size(); ++j) {
    EXPECT_NEAR(model.Coef.data()[j], other.Coef.data()[j], 1e-12) << j;
    EXPECT_NEAR(model.DataFit.StandardErrors[j], other.DataFit.StandardErrors[j], 1e-12) << j;
  }
  EXPECT_DOUBLE_EQ(model.DataFit.ResidualSd, other.DataFit.ResidualSd);
  EXPECT_NEAR(model.DataFit.Condition, other.DataFit.Condition, 1e-6 * other.DataFit.Condition);
}

TEST(FitData, StatisticsListTheFiguresThenEveryCoefficientWithItsLabel) {
  ProblemModel model = testing::SpecifiedModel({{"t", false, 2, 0.0, 1.0, 0.0}});
  MemoryDataSource source(1, {{0, 1, 2}, {1, 3, 4}, {1, 1, 1}, {2, 3, 9}});
  FitData(model, source, "line");
  const std::vector<StatisticsLine> lines = DataFitStatistics(model);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], StatisticsLine("points", "3"));
  EXPECT_EQ(lines[1], StatisticsLine("outside_box", "1"));
  EXPECT_EQ(lines[4].first, "max_residual");
  EXPECT_EQ(lines[5], StatisticsLine("worst_row", "3"));
  EXPECT_EQ(lines[7].second.substr(0, 2), "1 ");
  EXPECT_EQ(lines[8].second.substr(0, 3), "*t ");
  // The printed report ends with the same lines after the coefficients.
  std::vector<std::string> report;
  ReportLines(model, "line", {}, [&](const std::string& text) { report.push_back(text); });
  ASSERT_GE(report.size(), 10u);
  EXPECT_EQ(report[report.size() - 10], "FITTED TO THE DATA OF line:");
  EXPECT_EQ(report.back(), "coefficient: " + lines[8].second);
  EXPECT_EQ(DataFitSummaryLine(model).substr(0, 45),
            "Fitted to 3 observations (1 outside the box):");
  // Evaluations show the approximation alone: there is no function to compare with.
  ScriptEnvironment engine;
  const PointEvaluation at = EvaluateAtPoint(model, engine, {"1"});
  EXPECT_TRUE(at.ApproxValid);
  EXPECT_EQ(at.FunctionText, NoFunctionText);
}

struct RefusedCase {
  const char* name;
  const char* table;
  const char* message;
};

class RefusedTable : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTable, SaysWhyAndFitsNothing) {
  test::ScratchDir dir;
  const std::string path = dir.Path("data.csv");
  test::WriteBytes(path, GetParam().table);
  ProblemModel model = testing::SpecifiedModel({{"x", false, 3}, {"y", false, 2}});
  try {
    CsvDataSource source(path, {"x", "y"}, std::string("w"));
    FitData(model, source, path);
    FAIL() << "fitted";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
  }
  EXPECT_FALSE(model.HaveResults);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedTable,
    ::testing::Values(
        RefusedCase{"EmptyTable", "", "the table is empty"},
        RefusedCase{"HeaderOnly", "x,y,value,w\n", "no observation"},
        RefusedCase{"MissingField", "x,y,value,w\n1,2,3\n", "row 2, column 4: the row has fewer"},
        RefusedCase{"ExtraField", "x,y,value,w\n1,2,3,1,5\n", "row 2, column 5: the row has more"},
        RefusedCase{"NonNumericField", "x,y,value,w\n1,2,3,1\n1,b,3,1\n", "row 3, column 2"},
        RefusedCase{"NegativeWeight", "value,w,x,y\n1,-1,2,3\n", "row 2, column 2: the weight -1"},
        RefusedCase{"InfiniteWeight", "x,y,value,w\n1,2,3,inf\n", "row 2, column 4"},
        RefusedCase{"UnknownColumn", "x,y,value,w,z\n", "row 1, column 5"},
        RefusedCase{"NoValueColumn", "x,y,w\n", "no column value"},
        RefusedCase{"TooFewDistinctValues", "x,y,value,w\n0,0,1,1\n1,1,1,1\n0,1,1,1\n1,0,1,1\n",
                    "2 distinct values of x; its 3 terms"},
        RefusedCase{"TermsOverflow", "x,y,value,w\n0,0,1,1\n1,1,1,1\n2,0,1,1\n1e200,1,1,1\n",
                    "Row 5: the terms overflow"},
        RefusedCase{
            "ValuesOverflow",
            "x,y,value,w\n0,0,1e308,1\n1,0,-1e308,1\n2,0,1e308,1\n0,1,1,1\n1,1,2,1\n2,1,3,1\n",
            "The fit overflows"},
        RefusedCase{"RankDeficient", "x,y,value,w\n0,0,1,1\n1,1,1,1\n2,2,1,1\n0,0,2,1\n",
                    "rank-deficient"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
