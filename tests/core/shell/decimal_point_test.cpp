#include "shell/decimal_point.h"

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
  WarningAnswer Ask(const std::string& title, const std::string& text) override {
    ++asked;
    lastTitle = title;
    lastText = text;
    return answer_;
  }
  int asked = 0;
  std::string lastTitle;
  std::string lastText;

 private:
  WarningAnswer answer_;
};

TEST(DecimalPoint, PointAlreadyInForceAsksNothingAndChangesNothing) {
  FakeLocale locale(".");
  FakeWarning warning(WarningAnswer::No);
  DecimalPoint guard(locale, warning);
  EXPECT_TRUE(guard.CheckDecimalSeparator());
  EXPECT_EQ(warning.asked, 0);
  EXPECT_TRUE(locale.log.empty());
  EXPECT_EQ(guard.SystemDecimal(), ".");
  guard.RestoreDecimalSeparator();
  EXPECT_EQ(locale.DecimalSeparator(), ".");
}

TEST(DecimalPoint, CommaAndYesSwitchesForTheRunAndRestoresAtExit) {
  FakeLocale locale(",");
  FakeWarning warning(WarningAnswer::Yes);
  DecimalPoint guard(locale, warning);
  EXPECT_TRUE(guard.CheckDecimalSeparator());
  EXPECT_EQ(warning.asked, 1);
  EXPECT_EQ(guard.SystemDecimal(), ",");
  EXPECT_EQ(locale.DecimalSeparator(), ".");
  guard.RestoreDecimalSeparator();
  EXPECT_EQ(locale.DecimalSeparator(), ",");
  EXPECT_EQ(locale.log, (std::vector<std::string>{"point", "restore"}));
}

TEST(DecimalPoint, CommaAndNoOrCancelEndsWithNothingChanged) {
  for (const WarningAnswer answer : {WarningAnswer::No, WarningAnswer::Cancel}) {
    FakeLocale locale(",");
    FakeWarning warning(answer);
    DecimalPoint guard(locale, warning);
    EXPECT_FALSE(guard.CheckDecimalSeparator());
    EXPECT_TRUE(locale.log.empty());
    EXPECT_EQ(locale.DecimalSeparator(), ",");
  }
}

TEST(DecimalPoint, AnySeparatorButThePointIsCalledAComma) {
  FakeLocale locale("\xD9\xAB");  // the Arabic decimal separator
  FakeWarning warning(WarningAnswer::Yes);
  DecimalPoint guard(locale, warning);
  EXPECT_TRUE(guard.CheckDecimalSeparator());
  EXPECT_EQ(warning.asked, 1);
  EXPECT_NE(warning.lastText.find("DECIMAL COMMA"), std::string::npos);
}

}  // namespace
}  // namespace quon
