#include "rtl/replacement_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "rtl/errors.h"

namespace trel {

namespace {

// The names of the temporary files being written, where a signal handler can read them: fixed
// buffers, each claimed and released through its flag.
constexpr int kSlots = 16;
constexpr size_t kPathBytes = 4096;
char gPaths[kSlots][kPathBytes];
std::atomic<bool> gUsed[kSlots];

int registerTemporary(const std::string& path) {
  if (path.size() >= kPathBytes) return -1;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!gUsed[i].load() && gUsed[i].compare_exchange_strong(expected, true)) {
      std::memcpy(gPaths[i], path.c_str(), path.size() + 1);
      std::atomic_signal_fence(std::memory_order_seq_cst);
      return i;
    }
  }
  return -1;
}

void releaseTemporary(int slot) {
  if (slot >= 0) gUsed[slot].store(false);
}

// ".NAME.PID." : the start of the temporary files of `name` written by process `pid`.
std::string temporaryPrefix(const std::string& name, long pid) {
  return "." + name + "." + std::to_string(pid) + ".";
}

// Removes the temporary files beside `target` that processes left which no longer run (killed
// while they wrote it).
void removeStaleTemporaries(const std::filesystem::path& dir, const std::string& name) {
  const std::string start = "." + name + ".";
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return;
  while (dirent* e = ::readdir(d)) {
    std::string_view entry(e->d_name);
    if (entry.size() <= start.size() + 8 || entry.substr(0, start.size()) != start) continue;
    std::string_view rest = entry.substr(start.size());
    size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string_view::npos || rest.size() - dot - 1 != 6) continue;
    std::string_view digits = rest.substr(0, dot);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        digits.size() > 9)
      continue;
    long pid = std::stol(std::string(digits));
    if (pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlink((dir / std::string(entry)).c_str());
  }
  ::closedir(d);
}

void onTermination(int signal) {
  removeUnfinishedReplacements();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void removeUnfinishedReplacements() {
  for (int i = 0; i < kSlots; ++i)
    if (gUsed[i].load()) ::unlink(gPaths[i]);
}

void removeReplacementsOnTermination() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current;
    if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

ReplacementFile::ReplacementFile(const std::string& target, unsigned mode)
    : target_(target), mode_(mode) {
  std::filesystem::path p(target);
  std::filesystem::path dir = p.has_parent_path() ? p.parent_path() : std::filesystem::path();
  const std::string name = p.filename().string();
  removeStaleTemporaries(dir, name);
  std::string pattern = (dir / (temporaryPrefix(name, ::getpid()) + "XXXXXX")).string();
  // The termination signals wait while the file is made and its name registered: one arriving in
  // between would find a file it does not know of.
  sigset_t terminations, previous;
  sigemptyset(&terminations);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&terminations, signal);
  ::pthread_sigmask(SIG_BLOCK, &terminations, &previous);
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  int err = errno;
  if (fd_ >= 0) {
    temp_ = pattern;
    slot_ = registerTemporary(temp_);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (fd_ < 0)
    throw FileError("Cannot create file \"" + target + "\". " + std::strerror(err), err,
                    std::strerror(err));
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
  releaseTemporary(slot_);
}

void ReplacementFile::fail(int error) {
  throw FileError("Cannot write file \"" + target_ + "\". " + std::strerror(error), error,
                  std::strerror(error));
}

void ReplacementFile::append(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(n < 0 ? errno : EIO);
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
    if (n < 0 && (errno == ENOSPC || errno == EFBIG || errno == EDQUOT || errno == EIO))
      fail(errno);
    if (n <= 0) break;
  }
  if (static_cast<uint64_t>(from) >= size) return;
  std::string buffer(1 << 20, '\0');
  while (static_cast<uint64_t>(from) < size) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), size - from));
    ssize_t n = ::pread(fd, buffer.data(), want, from);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(errno);
    if (n == 0) fail(EIO);
    append(std::string_view(buffer.data(), static_cast<size_t>(n)));
    from += n;
  }
}

void ReplacementFile::commit() {
  if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0 || ::fsync(fd_) != 0) fail(errno);
  int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) fail(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) fail(errno);
  temp_.clear();
  releaseTemporary(slot_);
  slot_ = -1;
}

std::string replacementTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  std::filesystem::path resolved = std::filesystem::canonical(path, ec);
  return ec ? path : resolved.string();
}

unsigned replacementMode(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666u & ~static_cast<unsigned>(mask);
}

bool isWritableFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace trel
