#include "core/shell/sub_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quon {
namespace {

// A clock whose seconds advance only when it is slept on; the start can sit anywhere
// inside a second.
class FakeClock : public SplashClock {
 public:
  explicit FakeClock(int64_t startMs) : nowMs_(startMs) {}
  int64_t WholeSeconds() override { return nowMs_ / 1000; }
  void Sleep(std::chrono::milliseconds duration) override {
    nowMs_ += duration.count();
    ++sleeps;
  }
  int64_t nowMs() const { return nowMs_; }
  int sleeps = 0;

 private:
  int64_t nowMs_;
};

class FakeShell : public StartupShell {
 public:
  explicit FakeShell(bool accept) : accept_(accept) {}
  bool CheckDecimalSeparator() override {
    log.push_back("guard");
    return accept_;
  }
  void ShowAbout() override { log.push_back("about"); }
  void ProcessEvents() override { log.push_back("events"); }
  void CloseAbout() override { log.push_back("close about"); }
  void ShowMainWindow() override { log.push_back("main"); }
  void OpenFile(const std::string& path) override { log.push_back("open " + path); }
  int RunEventLoop() override {
    log.push_back("loop");
    return 7;
  }
  std::vector<std::string> log;

 private:
  bool accept_;
};

TEST(WaitForSplash, StopsAtTheThirdSecondBoundarySleepingInSmallSteps) {
  for (const int64_t startMs : {0, 999, 10'000, 10'001, 10'500, 10'999, 123'456}) {
    FakeClock clock(startMs);
    WaitForSplash(clock);
    const int64_t boundary = (startMs / 1000 + 3) * 1000;
    EXPECT_GE(clock.nowMs(), boundary) << startMs;
    EXPECT_LT(clock.nowMs(), boundary + kSplashStep.count()) << startMs;
    if (startMs == 0) {
      EXPECT_EQ(clock.sleeps, 3000 / kSplashStep.count());
    }
  }
}

TEST(Main, ShowsSplashForItsTimeThenTheMainWindow) {
  FakeShell shell(true);
  FakeClock clock(42'300);
  EXPECT_EQ(Main(shell, clock), 7);
  EXPECT_EQ(shell.log,
            (std::vector<std::string>{"guard", "about", "events", "close about", "main", "loop"}));
  EXPECT_GE(clock.nowMs(), 45'000);
}

TEST(Main, OpensTheNamedFileInTheShownMainWindow) {
  FakeShell shell(true);
  FakeClock clock(0);
  EXPECT_EQ(Main(shell, clock, "p.qsp"), 7);
  EXPECT_EQ(shell.log, (std::vector<std::string>{"guard", "about", "events", "close about", "main",
                                                 "open p.qsp", "loop"}));
}

TEST(Main, RefusedDecimalPointEndsBeforeAnyWindow) {
  FakeShell shell(false);
  FakeClock clock(0);
  EXPECT_EQ(Main(shell, clock), 0);
  EXPECT_EQ(shell.log, (std::vector<std::string>{"guard"}));
  EXPECT_EQ(clock.sleeps, 0);
}

}  // namespace
}  // namespace quon
