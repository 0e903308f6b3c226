#include "core/shell/sub_main.h"

#include <thread>

namespace quon {

int64_t SystemSplashClock::WholeSeconds() {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::floor<std::chrono::seconds>(sinceEpoch).count();
}

void SystemSplashClock::Sleep(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

void WaitForSplash(SplashClock& clock) {
  const int64_t start = clock.WholeSeconds();
  while (clock.WholeSeconds() - start <= 2) clock.Sleep(kSplashStep);
}

int Main(StartupShell& shell, SplashClock& clock, const std::string& fileToOpen) {
  if (!shell.CheckDecimalSeparator()) return 0;
  shell.ShowAbout();
  shell.ProcessEvents();
  WaitForSplash(clock);
  shell.CloseAbout();
  shell.ShowMainWindow();
  if (!fileToOpen.empty()) shell.OpenFile(fileToOpen);
  return shell.RunEventLoop();
}

}  // namespace quon
