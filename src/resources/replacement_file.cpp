#include "resources/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "resources/resources.h"

namespace trel {

namespace {

std::string systemMessage(int err) {
  return std::strerror(err);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& target, unsigned mode)
    : target_(target), mode_(mode) {
  std::filesystem::path p(target);
  std::filesystem::path dir = p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
  std::string pattern = (dir / ("." + p.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) throw ResourceError("Cannot write \"" + target + "\": " + systemMessage(errno));
  temp_ = pattern;
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void ReplacementFile::fail(const std::string& what) {
  throw ResourceError("Cannot write \"" + target_ + "\": " + what);
}

void ReplacementFile::append(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(systemMessage(n < 0 ? errno : EIO));
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void ReplacementFile::appendFrom(int fd, uint64_t size) {
  off_t from = 0;
  // The kernel copies within the file system without passing the bytes through here; when it
  // cannot (another file system, an old kernel) the bytes are read and written.
  while (static_cast<uint64_t>(from) < size) {
    ssize_t n = ::copy_file_range(fd, &from, fd_, nullptr, size - static_cast<uint64_t>(from), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
  }
  if (static_cast<uint64_t>(from) >= size) return;
  std::string buffer(1 << 20, '\0');
  while (static_cast<uint64_t>(from) < size) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), size - from));
    ssize_t n = ::pread(fd, buffer.data(), want, from);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(systemMessage(errno));
    if (n == 0) fail("its source is shorter than expected");
    append(std::string_view(buffer.data(), static_cast<size_t>(n)));
    from += n;
  }
}

void ReplacementFile::commit() {
  if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0 || ::fsync(fd_) != 0)
    fail(systemMessage(errno));
  int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) fail(systemMessage(errno));
  if (::rename(temp_.c_str(), target_.c_str()) != 0) fail(systemMessage(errno));
  temp_.clear();
}

std::string replacementTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  std::filesystem::path resolved = std::filesystem::canonical(path, ec);
  return ec ? path : resolved.string();
}

bool isWritableFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

CopyOutcome copyFileReplacing(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return CopyOutcome::SourceUnreadable;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return CopyOutcome::SourceUnreadable;
  }
  const std::string target = replacementTarget(to);
  std::error_code ec;
  if (to.empty() || (std::filesystem::exists(target, ec) && !isWritableFile(target))) {
    ::close(in);
    return CopyOutcome::TargetUnwritable;
  }
  try {
    ReplacementFile out(target, st.st_mode & 07777);
    out.appendFrom(in, static_cast<uint64_t>(st.st_size));
    out.commit();
  } catch (const ResourceError&) {
    ::close(in);
    return CopyOutcome::TargetUnwritable;
  }
  ::close(in);
  return CopyOutcome::Copied;
}

}  // namespace trel
