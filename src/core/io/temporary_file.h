// A file written under a temporary name beside its destination and renamed into place
// only when it is complete, so that a failed save never leaves a half-written file where
// the old one stood. Destroying it before it is committed removes the temporary file.
//
// Two files that belong together are committed as a pair: each old file is first moved to
// a backup name beside it, and the backups are removed only when both new files are in
// place. When a step fails, the steps done are undone in reverse order, so the old pair
// comes back whole (or, where there was no old file, nothing is left).
//
// The destination is what the user named, not the name itself: a symbolic link is
// followed and its target replaced, a file that exists keeps its permissions, and a
// destination that exists but is no regular file (a directory, a FIFO, a device) is
// refused, so that writing never turns it into a regular file. While a temporary file
// exists its name is in a fixed table that a signal handler can read
// (RemoveTemporaryFilesOnSignals), so an interrupted run leaves no temporary behind.
#pragma once

#include <cstddef>
#include <string>

#include "core/io/rename_file.h"

namespace quon {

class TemporaryFile {
 public:
  // Creates "<destination>.XXXXXX" with the destination's permissions, or the usual ones
  // for a new file. Throws SpecFileError.
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
  friend void CommitPair(TemporaryFile&, TemporaryFile&, const RenameFile&);

  [[noreturn]] void Fail(int error) const;

  std::string path_;  // the destination, links followed
  std::string temporary_;
  int fd_ = -1;
  int signalSlot_ = -1;  // in the table the signal handler reads; -1 when not there
  bool committed_ = false;
};

// Installs handlers for SIGINT and SIGTERM that remove every temporary file that exists,
// then end the program by the same signal as before. Async-signal-safe: the handler only
// reads the fixed table and calls unlink, signal and raise.
void RemoveTemporaryFilesOnSignals();

// Whether the two paths name one existing file (the same device and inode), however they
// are spelt or linked.
bool IsSameFile(const std::string& a, const std::string& b);

// Renames the closed files `first` and then `second` to their destinations, replacing both
// old files or, when any step fails, neither. Throws SpecFileError naming the destination
// that failed; should putting an old file back fail as well, the message names the backup
// that holds it.
void CommitPair(TemporaryFile& first, TemporaryFile& second,
                const RenameFile& rename = RenameWithTheSystem);

}  // namespace quon
