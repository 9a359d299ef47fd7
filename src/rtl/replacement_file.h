// Replacing a file in one step: the new version is written beside it under a temporary name and
// renamed over it, so the file is either the old one or the whole new one, never half-written and
// never missing.
//
// The temporary file is named ".NAME.PID.XXXXXX" after the target and the process writing it. It
// is removed when the replacement fails, when the process ends on SIGINT, SIGTERM or SIGHUP (once
// removeReplacementsOnTermination() has installed that), and, when the process was killed outright,
// by the next replacement of the same file, which removes those of processes that no longer run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trel {

class ReplacementFile {
 public:
  // Creates the temporary file in `target`'s directory; `mode` holds the permissions the target
  // gets. Throws trel::Error ("Cannot create file ...", with the system's reason) when the
  // directory does not take a new file.
  ReplacementFile(const std::string& target, unsigned mode);
  // Removes the temporary file unless commit() renamed it.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Each throws trel::Error ("Cannot write file ...", with the system's reason) when it fails.
  void append(std::string_view bytes);
  // Appends the first `size` bytes of the open file `fd`.
  void appendFrom(int fd, uint64_t size);
  // Sets the permissions, flushes the data to the disk and renames the file over the target.
  void commit();

 private:
  [[noreturn]] void fail(int error);

  std::string target_;
  std::string temp_;
  unsigned mode_;
  int fd_ = -1;
  int slot_ = -1;  // where the temporary file's name is registered for removal on a signal
};

// Follows symbolic links to the file they name, so that a replacement lands on that file and does
// not turn the link into a file of its own. A name that names nothing yet is answered as it is.
std::string replacementTarget(const std::string& path);

// The permissions a new version of `path` gets: those of the file there now, else the usual ones
// for a new file (0666 less the umask).
unsigned replacementMode(const std::string& path);

// True when `path` is a regular file that may be written: a write permission bit is set (the
// "read-only" of a file, which counts even for a user allowed to ignore it) and the process has
// write access.
bool isWritableFile(const std::string& path);

// Installs handlers for SIGINT, SIGTERM and SIGHUP (where no other handler is installed) that
// remove unfinished replacement files, then end the process as the signal would have.
void removeReplacementsOnTermination();
// Removes every unfinished replacement file of this process; safe to call from a signal handler.
void removeUnfinishedReplacements();

}  // namespace trel
