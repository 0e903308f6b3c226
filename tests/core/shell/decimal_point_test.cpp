#include "core/shell/decimal_point.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quon {
namespace {

// A process locale that starts with a given separator and logs what is done to it.
class FakeLocale : public NumericLocale {
 public:
  explicit FakeLocale(std::string separator)
      : original_(separator), current_(std::move(separator)) {}
  std::string DecimalSeparator() override { return current_; }
  void SwitchToDecimalPoint() override {
    current_ = ".";
    log.push_back("point");
  }
  void RestoreOriginal() override {
    current_ = original_;
    log.push_back("restore");
  }
  std::vector<std::string> log;

 private:
  std::string original_;
  std::string current_;
};

class FakeWarning : public DecimalWarning {
 public:
  explicit FakeWarning(WarningAnswer answer) : answer_(answer) {}
  WarningAnswer Ask(const std::string&, const std::string&) override {
    ++asked;
    return answer_;
  }
  int asked = 0;

 private:
  WarningAnswer answer_;
};

struct GuardCase {
  const char* name;
  const char* separator;
  WarningAnswer answer;
  bool runs;                     // the program goes on
  int asked;                     // warnings shown
  std::vector<std::string> log;  // what was done to the locale, restoring at exit included
};

class DecimalPointGuard : public ::testing::TestWithParam<GuardCase> {};

// Any separator but the point asks; Yes switches to the point for the run and restores
// the user's separator at exit; No and Cancel end the program with nothing changed.
TEST_P(DecimalPointGuard, AsksOnlyForAnotherSeparatorAndRestoresIt) {
  const GuardCase& c = GetParam();
  FakeLocale locale(c.separator);
  FakeWarning warning(c.answer);
  DecimalPoint guard(locale, warning);
  EXPECT_EQ(guard.CheckDecimalSeparator(), c.runs);
  EXPECT_EQ(warning.asked, c.asked);
  EXPECT_EQ(guard.SystemDecimal(), c.separator);
  if (c.runs) {
    EXPECT_EQ(locale.DecimalSeparator(), ".");
    guard.RestoreDecimalSeparator();
  }
  EXPECT_EQ(locale.DecimalSeparator(), c.separator);
  EXPECT_EQ(locale.log, c.log);
}

const GuardCase kGuards[] = {
    {"PointAlreadyInForce", ".", WarningAnswer::No, true, 0, {"restore"}},
    {"CommaAndYes", ",", WarningAnswer::Yes, true, 1, {"point", "restore"}},
    {"CommaAndNo", ",", WarningAnswer::No, false, 1, {}},
    {"CommaAndCancel", ",", WarningAnswer::Cancel, false, 1, {}},
    {"ArabicSeparatorActsAsAComma", "\xD9\xAB", WarningAnswer::Yes, true, 1, {"point", "restore"}},
};

INSTANTIATE_TEST_SUITE_P(Separators, DecimalPointGuard, ::testing::ValuesIn(kGuards),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quon
