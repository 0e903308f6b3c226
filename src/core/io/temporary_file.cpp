#include "core/io/temporary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "core/io/spec_file.h"

namespace quon {

int RenameWithTheSystem(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

namespace {

// The temporary names a signal handler removes: fixed storage, each slot claimed by an
// atomic flag, so the handler needs no allocation and no lock.
constexpr int kSignalSlots = 16;
constexpr std::size_t kSlotBytes = 4096;
char signalNames[kSignalSlots][kSlotBytes];
std::atomic<int> signalSlotState[kSignalSlots];  // 0 free, 1 being written, 2 in use

int ClaimSignalSlot(const std::string& name) {
  if (name.size() >= kSlotBytes) return -1;
  for (int i = 0; i < kSignalSlots; ++i) {
    int expected = 0;
    if (signalSlotState[i].compare_exchange_strong(expected, 1)) {
      std::memcpy(signalNames[i], name.c_str(), name.size() + 1);
      signalSlotState[i].store(2);
      return i;
    }
  }
  return -1;  // more temporaries at once than slots: this one is only removed as usual
}

void ReleaseSignalSlot(int slot) {
  if (slot >= 0) signalSlotState[slot].store(0);
}

extern "C" void RemoveTemporariesAndReraise(int signal) {
  for (int i = 0; i < kSignalSlots; ++i) {
    if (signalSlotState[i].load() == 2) ::unlink(signalNames[i]);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// The file a path names once its symbolic links are followed (the target of a dangling
// link as well). Throws SpecFileError for a loop of links.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string target(static_cast<std::size_t>(status.st_size) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return path;
    target.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    path = target.front() == '/' || slash == std::string::npos ? target
                                                               : path.substr(0, slash + 1) + target;
  }
  throw SpecFileError(path + ": cannot write the file: " + std::strerror(ELOOP) + ".");
}

}  // namespace

void RemoveTemporaryFilesOnSignals() {
  for (const int signal : {SIGINT, SIGTERM}) std::signal(signal, RemoveTemporariesAndReraise);
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

TemporaryFile::TemporaryFile(std::string path) : path_(FollowLinks(std::move(path))) {
  struct stat existing {};
  const bool exists = ::stat(path_.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    throw SpecFileError(path_ + ": cannot write the file: it is not a regular file.");
  }
  temporary_ = path_ + ".XXXXXX";
  fd_ = ::mkstemp(temporary_.data());
  if (fd_ < 0) {
    const int error = errno;
    temporary_.clear();
    Fail(error);
  }
  signalSlot_ = ClaimSignalSlot(temporary_);
  // mkstemp creates the file for its owner only; a new file gets the usual permissions,
  // a replaced one keeps its own.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, exists ? existing.st_mode & 07777 : 0666 & ~mask);
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
  ReleaseSignalSlot(signalSlot_);
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
  ReleaseSignalSlot(std::exchange(signalSlot_, -1));
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
      ReleaseSignalSlot(std::exchange(file->signalSlot_, -1));
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
