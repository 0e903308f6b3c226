// Test support: the real quonfit run with arguments, its standard output and exit status
// kept, for the tests that read its figures as numbers.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace quon::testing {

struct QuonfitRun {
  int code = -1;
  std::string out;
};

// Runs `program` with the arguments (a shell command line, none holding a double quote).
inline QuonfitRun RunQuonfit(const std::string& program, const std::string& arguments) {
  QuonfitRun run;
  std::FILE* pipe = popen(("\"" + program + "\" " + arguments + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (const auto n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace quon::testing
