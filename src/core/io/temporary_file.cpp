#include "io/temporary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/spec_file.h"

namespace quon {

TemporaryFile::TemporaryFile(std::string path)
    : path_(std::move(path)), temporary_(path_ + ".XXXXXX") {
  fd_ = ::mkstemp(temporary_.data());
  if (fd_ < 0) {
    const int error = errno;
    temporary_.clear();
    Fail(error);
  }
  // mkstemp creates the file for its owner only; a saved file gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void TemporaryFile::Fail(int error) const {
  throw SpecFileError(path_ + ": cannot write the file: " + std::strerror(error) + ".");
}

void TemporaryFile::Write(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

void TemporaryFile::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
}

void TemporaryFile::Commit() {
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) Fail(errno);
  committed_ = true;
}

}  // namespace quon
