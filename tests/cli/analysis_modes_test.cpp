// quonfit's --extrema, --roots and --sensitivity run for real on problems whose answers are
// known in closed form: every number of every line within its tolerance, and the same
// numbers, bit for bit, in the object that --json writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "support/quonfit_run.h"

namespace quon {
namespace {

struct Line {
  const char* key;
  std::vector<double> numbers;  // every number on the line; none: any value
  double tolerance;
};

struct ModeCase {
  const char* name;
  const char* arguments;
  std::vector<Line> lines;
};

// The numbers of a line's value, in order: 17 significant digits, as the modes write them.
std::vector<double> NumbersIn(const std::string& text) {
  static const std::regex number(R"(-?\d\.\d{16}e[+-]\d+)");
  std::vector<double> numbers;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
       it != std::sregex_iterator(); ++it) {
    numbers.push_back(std::stod(it->str()));
  }
  return numbers;
}

void Flatten(const nlohmann::json& value, std::vector<double>& into) {
  if (value.is_number()) into.push_back(value.get<double>());
  if (value.is_structured()) {
    for (const auto& item : value) Flatten(item, into);
  }
}

class AnalysisMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(AnalysisMode, PrintsTheKnownFiguresAsLinesAndAsJson) {
  const ModeCase& c = GetParam();
  const std::string file = std::string(QUON_TEST_DATA) + "/quonfit/";
  const testing::QuonfitRun run = testing::RunQuonfit(QUONFIT, file + c.arguments);
  ASSERT_EQ(run.code, 0) << run.out;
  std::istringstream lines(run.out);
  std::vector<double> all;
  for (const Line& expected : c.lines) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    ASSERT_EQ(line.substr(0, line.find(':')), expected.key) << line;
    const std::vector<double> numbers = NumbersIn(line.substr(line.find(':')));
    all.insert(all.end(), numbers.begin(), numbers.end());
    if (expected.numbers.empty()) continue;
    ASSERT_EQ(numbers.size(), expected.numbers.size()) << line;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      EXPECT_NEAR(numbers[i], expected.numbers[i], expected.tolerance) << line;
    }
  }
  std::string rest;
  EXPECT_FALSE(std::getline(lines, rest)) << rest;

  const testing::QuonfitRun json = testing::RunQuonfit(QUONFIT, file + c.arguments + " --json");
  ASSERT_EQ(json.code, 0);
  std::vector<double> fromJson;
  Flatten(nlohmann::json::parse(json.out), fromJson);
  std::sort(all.begin(), all.end());
  std::sort(fromJson.begin(), fromJson.end());
  EXPECT_EQ(fromJson, all);
}

std::vector<double> Cos20xRoots() {
  std::vector<double> roots;
  for (int k = -6; k < 6; ++k) roots.push_back((2 * k + 1) * M_PI / 40);
  return roots;
}

// Ishigami's function (a = 7, b = 0.1) and its indices.
const double pi4 = std::pow(M_PI, 4), v1 = 0.5 * std::pow(1 + 0.1 * pi4 / 5, 2), v2 = 49.0 / 8,
             v13 = 8 * 0.01 * pi4 * pi4 / 225, v = v1 + v2 + v13;
// 7 sin^2 y = 1 where x = -pi/2 and z = 0.
const double s = std::asin(1 / std::sqrt(7.0));

INSTANTIATE_TEST_SUITE_P(
    Problems, AnalysisMode,
    ::testing::Values(
        // Two narrow bumps between the nodes of any coarse scan (see the core's test).
        ModeCase{"NarrowPeakAndDip",
                 "peak.qsp --extrema",
                 {{"maximum", {1.0, 0.37, -0.21}, 1e-10}, {"minimum", {-0.8, -0.55, 0.52}, 1e-10}}},
        ModeCase{"SubBoxHoldingOneVariable",
                 "peak.qsp --extrema --box 0 1 -0.21 -0.21",
                 {{"maximum", {1.0, 0.37, -0.21}, 1e-10}, {"minimum", {}, 0}}},
        ModeCase{"TwelveRootsOfCos20x", "cos20.qsp --roots x", {{"roots", Cos20xRoots(), 1e-13}}},
        ModeCase{"RootsWithTheOthersHeld",
                 "ishigami.qsp --roots y --at -1.5707963267948966 0",
                 {{"roots", {s - M_PI, -s, s, M_PI - s}, 1e-12}}},
        ModeCase{"IshigamiIndices",
                 "ishigami.qsp --sensitivity",
                 {{"mean", {3.5}, 1e-12},
                  {"variance", {v}, 1e-10 * v},
                  {"main_effect", {v1 / v}, 1e-8},
                  {"total_effect", {(v1 + v13) / v}, 1e-8},
                  {"main_effect", {v2 / v}, 1e-8},
                  {"total_effect", {v2 / v}, 1e-8},
                  {"main_effect", {0.0}, 1e-8},
                  {"total_effect", {v13 / v}, 1e-8}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The shapes of the object: a value with its location, a list, per-variable members, and a
// repeated key (the suggestion's advice) as an array.
TEST(AnalysisModeJson, KeepsTheShapeOfEachFigure) {
  const std::string data = std::string(QUON_TEST_DATA) + "/";
  const auto json = [&](const std::string& arguments) {
    return nlohmann::json::parse(testing::RunQuonfit(QUONFIT, data + arguments + " --json").out);
  };
  const nlohmann::json extremes = json("quonfit/peak.qsp --extrema");
  EXPECT_TRUE(extremes["maximum"]["value"].is_number());
  EXPECT_EQ(extremes["minimum"]["at"].size(), 2u);
  EXPECT_TRUE(json("quonfit/two_variables.qsp --roots x --at 1.5")["roots"].empty());
  const nlohmann::json indices = json("quonfit/ishigami.qsp --sensitivity");
  EXPECT_EQ(indices["total_effect"].size(), 3u);
  EXPECT_TRUE(indices["main_effect"]["z"].is_number());
  const nlohmann::json advice = json("advisor/runge.qsp --suggest-terms 1e-6");
  EXPECT_TRUE(advice["unreachable"].is_string());
  EXPECT_TRUE(advice["terms"]["x"].is_number_integer());
  EXPECT_TRUE(advice["advice"].is_array());
}

}  // namespace
}  // namespace quon
