// Lines to a stdio stream through one large buffer: millions of listing lines cost a few
// large writes instead of one call per line.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace quon::cli {

class LineWriter {
 public:
  explicit LineWriter(std::FILE* out) : out_(out) { buffer_.reserve(kFlushAt + 4096); }

  void Line(const std::string& line) {
    buffer_ += line;
    buffer_.push_back('\n');
    if (buffer_.size() >= kFlushAt) Flush();
  }

  std::function<void(const std::string&)> Sink() {
    return [this](const std::string& line) { Line(line); };
  }

  // Writes what is buffered; false once any write has failed.
  bool Flush() {
    if (!buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
      ok_ = false;
    }
    buffer_.clear();
    return ok_ && std::fflush(out_) == 0;
  }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 20;
  std::FILE* out_;
  std::string buffer_;
  bool ok_ = true;
};

}  // namespace quon::cli
