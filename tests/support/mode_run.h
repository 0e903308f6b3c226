// Test support: runs one of quonfit's modes with its standard output and error caught.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace quon::test {

struct ModeRun {
  int code = 0;
  std::string out;
  std::string err;
};

// What a stdio stream received.
inline std::string Contents(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  return text;
}

// Calls mode(out, err) and returns its exit code and what it wrote.
inline ModeRun RunMode(const std::function<int(std::FILE* out, std::FILE* err)>& mode) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ModeRun run;
  run.code = mode(out, err);
  run.out = Contents(out);
  run.err = Contents(err);
  std::fclose(out);
  std::fclose(err);
  return run;
}

}  // namespace quon::test
