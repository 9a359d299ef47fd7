// Replacing a file in one step: the new version is written beside it under a temporary name and
// renamed over it, so the file is either the old one or the whole new one, never half-written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trel {

class ReplacementFile {
 public:
  // Creates the temporary file in `target`'s directory; `mode` holds the permissions the target
  // gets. Throws ResourceError when the directory does not take a new file.
  ReplacementFile(const std::string& target, unsigned mode);
  // Removes the temporary file unless commit() renamed it.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  void append(std::string_view bytes);
  // Appends the first `size` bytes of the open file `fd`.
  void appendFrom(int fd, uint64_t size);
  // Sets the permissions, flushes the data to the disk and renames the file over the target.
  void commit();

 private:
  [[noreturn]] void fail(const std::string& what);

  std::string target_;
  std::string temp_;
  unsigned mode_;
  int fd_ = -1;
};

// Follows symbolic links to the file they name, so that a replacement lands on that file and does
// not turn the link into a file of its own. A name that names nothing yet is answered as it is.
std::string replacementTarget(const std::string& path);

// True when `path` is a regular file that may be written: a write permission bit is set (the
// "read-only" of a file, which counts even for a user allowed to ignore it) and the process has
// write access.
bool isWritableFile(const std::string& path);

enum class CopyOutcome { Copied, SourceUnreadable, TargetUnwritable };

// Copies `from` over `to` (created or replaced whole, with `from`'s permissions). A read-only or
// non-regular `to` is not replaced.
CopyOutcome copyFileReplacing(const std::string& from, const std::string& to);

}  // namespace trel
