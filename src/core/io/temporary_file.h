// A file written under a temporary name beside its destination and renamed into place
// only when it is complete, so that a failed save never leaves a half-written file where
// the old one stood. Destroying it before Commit removes the temporary file.
#pragma once

#include <cstddef>
#include <string>

namespace quon {

class TemporaryFile {
 public:
  // Creates "<path>.XXXXXX" with the usual permissions. Throws SpecFileError.
  explicit TemporaryFile(std::string path);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Throws SpecFileError naming the destination.
  void Write(const char* data, std::size_t size);
  void Write(const std::string& text) { Write(text.data(), text.size()); }
  // Closes the file (throws SpecFileError when the data did not reach the disk).
  void Close();
  // Renames the closed file to its destination. Throws SpecFileError.
  void Commit();

 private:
  [[noreturn]] void Fail(int error) const;

  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace quon
