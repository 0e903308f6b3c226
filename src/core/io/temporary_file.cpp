#include "core/io/temporary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/io/spec_file.h"

namespace quon {

int RenameWithTheSystem(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

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

namespace {

// One destination of a pair being committed: where its old file went, and whether the new
// file has taken its place.
struct CommitStep {
  std::string path;
  std::string backup;  // empty when there was no old file
  bool replaced = false;
};

// A fresh name beside `path` for its old file, reserved by creating it empty.
std::string ReserveBackupName(const std::string& path) {
  std::string name = path + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    throw SpecFileError(path + ": cannot write the file: " + std::strerror(errno) + ".");
  }
  ::close(fd);
  return name;
}

// Puts the old files back, last step first. Returns what the user must know when an old
// file could not be put back: the backup that still holds it.
std::string Undo(const std::vector<CommitStep>& steps, const RenameFile& rename) {
  std::string kept;
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
    if (!step->backup.empty()) {
      if (rename(step->backup, step->path) != 0) {
        kept += " The old " + step->path + " is kept as " + step->backup + ".";
      }
    } else if (step->replaced) {
      ::unlink(step->path.c_str());
    }
  }
  return kept;
}

}  // namespace

void CommitPair(TemporaryFile& first, TemporaryFile& second, const RenameFile& rename) {
  std::vector<CommitStep> steps;
  steps.reserve(2);
  try {
    for (TemporaryFile* file : {&first, &second}) {
      CommitStep step{file->path_, ReserveBackupName(file->path_)};
      if (const int error = rename(step.path, step.backup); error == ENOENT) {
        ::unlink(step.backup.c_str());
        step.backup.clear();
      } else if (error != 0) {
        ::unlink(step.backup.c_str());
        file->Fail(error);
      }
      steps.push_back(step);
      if (const int error = rename(file->temporary_, file->path_); error != 0) file->Fail(error);
      file->committed_ = true;
      steps.back().replaced = true;
    }
  } catch (const std::exception& e) {  // memory running out as well: the old pair comes back
    const std::string kept = Undo(steps, rename);
    if (kept.empty()) throw;
    throw SpecFileError(e.what() + kept);
  }
  for (const CommitStep& step : steps) {
    if (!step.backup.empty()) ::unlink(step.backup.c_str());
  }
}

}  // namespace quon
