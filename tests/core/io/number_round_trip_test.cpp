// Every finite double survives being written and read back by each reader of the program:
// a typed field (text form), a saved file (print form and text form items) and the
// expression language (CStr, then CDbl): write, read, write gives the same text.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/io/spec_item_reader.h"
#include "engine/engine.h"
#include "engine/number_text.h"

namespace quon {
namespace {

class NumberRoundTrip : public testing::Test {
 protected:
  NumberRoundTrip() {
    program_ = engine_.CompileExpression("CStr(CDbl(CStr(v)))");
    slot_ = *engine_.names().FindVariable("v");
  }

  // The engine's CStr of x, read by CDbl and written by CStr again.
  std::string ThroughTheEngine(double x) {
    engine_.globals().Assign(slot_, script::Variant::Double(x));
    return engine_.Evaluate(*program_).text();
  }

  static std::vector<double> Values() {
    std::vector<double> values = {DBL_MAX,
                                  -DBL_MAX,
                                  std::nextafter(DBL_MAX, 0.0),
                                  DBL_MIN,
                                  std::numeric_limits<double>::denorm_min(),
                                  -0.0,
                                  0.1};
    std::mt19937_64 random(20261206);
    while (values.size() < 40000) {
      const double x = std::bit_cast<double>(random());
      if (std::isfinite(x)) values.push_back(x);
    }
    return values;
  }

  script::Engine engine_;
  std::shared_ptr<const script::Program> program_;
  uint32_t slot_ = 0;
};

TEST_F(NumberRoundTrip, EveryFiniteDoubleIsStableInFieldsFilesAndTheEngine) {
  for (const double x : Values()) {
    const std::string text = TextForm(x);
    ASSERT_TRUE(IsNumber(text)) << text;
    ASSERT_EQ(TextForm(LeadingNumber(text)), text);
    const std::string print = PrintForm(x);
    double item = 0.0;
    ASSERT_TRUE(ParseNumberItem(std::string_view(print).substr(print[0] == ' '), item)) << print;
    ASSERT_EQ(PrintForm(item), print);
    ASSERT_TRUE(ParseNumberItem(text, item)) << text;
    ASSERT_EQ(TextForm(item), text);
    ASSERT_EQ(ThroughTheEngine(x), text);
  }
}

}  // namespace
}  // namespace quon
