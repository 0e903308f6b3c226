// The node geometry of one variable against the definitions written out: nodes j h + a,
// the fit's node argument (j h + (a - c)) w, the evaluator's angle step 2 pi (x - c) / P;
// and the same geometry after a problem is opened from a file as after it is gathered.
#include "core/model/node_geometry.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numbers>

#include "core/io/spec_file.h"
#include "core/model/gather_specs.h"

namespace quon {
namespace {

struct GeometryCase {
  const char* name;
  TermKind kind;
  int32_t lastTerm;
  double lower, upper, center, period;
};

class NodeGeometryTest : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(NodeGeometryTest, NodesArgumentsAndAnglesFollowTheirDefinitions) {
  const GeometryCase& c = GetParam();
  const NodeGeometry g = MakeGeometry(c.kind, c.lastTerm, c.lower, c.upper, c.center, c.period);
  const double h = (c.upper - c.lower) / c.lastTerm;
  const double w = c.kind == TermKind::Power ? 1.0 : 2 * std::numbers::pi / c.period;
  EXPECT_EQ(g.Node(0), c.lower);
  EXPECT_NEAR(g.Node(c.lastTerm), c.upper, 4 * DBL_EPSILON * std::fabs(c.upper - c.lower));
  for (int32_t j = 0; j <= c.lastTerm; ++j) {
    EXPECT_EQ(g.Node(j), static_cast<double>(j) * h + c.lower) << j;
    const double argument = (static_cast<double>(j) * h + (c.lower - c.center)) * w;
    EXPECT_NEAR(g.NodeArgument(j), argument, 8 * DBL_EPSILON * (1 + std::fabs(argument))) << j;
  }
  if (c.kind == TermKind::Power) {
    EXPECT_EQ(g.Omega, 1.0);
  } else {
    const double x = c.lower + 0.3 * (c.upper - c.lower);
    const double angle = 2 * std::numbers::pi * (x - c.center) / c.period;
    EXPECT_NEAR(g.AngleStep(x), angle, 4 * DBL_EPSILON * std::fabs(angle));
    EXPECT_NEAR(g.AngularFactor(), w, 2 * DBL_EPSILON * w);
  }
}

const GeometryCase kGeometries[] = {
    {"PowerAboutTheMiddle", TermKind::Power, 9, -5, 5, 0, 0},
    {"PowerAboutALowerEnd", TermKind::Power, 3, 1, 2, 1, 6},
    {"PowerOnAReversedInterval", TermKind::Power, 4, 3, -1, 1, 0},
    {"TrigonometricOverTwoPi", TermKind::Trigonometric, 6, 0, 6.25, 0, 6.283185307179586},
    {"TrigonometricOffCentre", TermKind::Trigonometric, 5, -2, 3, 0.5, 7},
};

INSTANTIATE_TEST_SUITE_P(Geometry, NodeGeometryTest, ::testing::ValuesIn(kGeometries),
                         [](const auto& info) { return std::string(info.param.name); });

// Opening a file used to leave the node spacing of whatever was there before; the geometry
// is computed from the variable's fields, so an opened problem and the same one gathered agree.
TEST(NodeGeometry, AnOpenedProblemHasTheGeometryOfTheSameProblemGathered) {
  ProblemModel gathered;
  gathered.LastVar = 1;
  gathered.VarName = {"x", "y"};
  EntryFields fields;
  fields.Variables = {{"-2", "3", "0.5", "*", "7", true}, {"0", "6", "*", "4", "5", false}};
  GatherSpecs(gathered, fields);
  gathered.HaveResults = true;
  const SpecFileTexts texts = FormatSpecFile(fields, gathered);
  ProblemModel opened;
  ApplySpecFile(ParseSpecFile(texts.Main, texts.TextFile, "p"), "p", opened);
  for (int k = 0; k < 2; ++k) {
    const NodeGeometry a = VariableGeometry(gathered, k);
    const NodeGeometry b = VariableGeometry(opened, k);
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.NodeStep, b.NodeStep);
    EXPECT_EQ(a.NodeStart, b.NodeStart);
    EXPECT_EQ(a.Omega, b.Omega);
    for (int32_t j = 0; j <= a.LastTerm; ++j) EXPECT_EQ(a.Node(j), b.Node(j));
  }
}

}  // namespace
}  // namespace quon
