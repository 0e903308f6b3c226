// The program's start-up sequence: the decimal-separator guard, the About window as a
// splash for more than two whole seconds, then the main window. The windows and the clock
// sit behind small interfaces so that the sequence can be checked without a screen and
// without waiting.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quon {

// What the start-up sequence asks of the windowing side.
class StartupShell {
 public:
  virtual ~StartupShell() = default;
  // The decimal-separator guard; false when the user refused and the program must end.
  virtual bool CheckDecimalSeparator() = 0;
  virtual void ShowAbout() = 0;
  // Lets pending window events run once, so that the splash gets drawn.
  virtual void ProcessEvents() = 0;
  virtual void CloseAbout() = 0;
  virtual void ShowMainWindow() = 0;
  // Opens the problem file pair `path` in the main window, as File > Open would.
  virtual void OpenFile(const std::string& path) = 0;
  // Runs the window events until the program ends; returns the exit code.
  virtual int RunEventLoop() = 0;
};

// Wall-clock seconds and a way to pass time without keeping a core busy.
class SplashClock {
 public:
  virtual ~SplashClock() = default;
  // Whole seconds since a fixed origin: the count steps at every second boundary.
  virtual int64_t WholeSeconds() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// The system clock and a real sleep.
class SystemSplashClock : public SplashClock {
 public:
  int64_t WholeSeconds() override;
  void Sleep(std::chrono::milliseconds duration) override;
};

// How long one step of the splash wait sleeps; the splash stays between two and three
// seconds, so a step this short keeps the overshoot invisible.
inline constexpr std::chrono::milliseconds kSplashStep{50};

// Waits until more than two second boundaries have passed since the call began. Window
// events are not processed meanwhile.
void WaitForSplash(SplashClock& clock);

// The entry point of the program behind main(); returns the exit code. When the user
// refuses the decimal point, ends with 0 before any window has been shown. A non-empty
// fileToOpen (the program's first argument) is opened once the main window is shown.
int Main(StartupShell& shell, SplashClock& clock, const std::string& fileToOpen = {});

}  // namespace quon
