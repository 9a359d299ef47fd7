#include "machine/foreign_text.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace trel {

namespace {

constexpr uintptr_t kBlockSize = 4096;
// Linux never maps the lowest 64 KiB, so small numbers are never text addresses.
constexpr uintptr_t kLowestMappable = 0x10000;

enum class Read { Done, Fault, Unsupported };

// Copies `length` bytes through the kernel, which reports an unreadable source instead of
// faulting. Some sandboxes refuse the call; the caller then has to trust the address.
Read copyChecked(uintptr_t from, char* to, size_t length) {
  iovec local{to, length};
  iovec remote{reinterpret_cast<void*>(from), length};
  ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  if (n == static_cast<ssize_t>(length)) return Read::Done;
  if (n < 0 && (errno == EPERM || errno == ENOSYS)) return Read::Unsupported;
  return Read::Fault;
}

}  // namespace

std::optional<std::string> readForeignText(const char* address) {
  uintptr_t at = reinterpret_cast<uintptr_t>(address);
  if (at < kLowestMappable) return std::nullopt;
  std::string text;
  char chunk[kBlockSize];
  for (;;) {
    // Blocks of 4 KiB never cross a page boundary, so each read succeeds whole or not at all.
    size_t length = kBlockSize - at % kBlockSize;
    switch (copyChecked(at, chunk, length)) {
      case Read::Done:
        break;
      case Read::Fault:
        return std::nullopt;
      case Read::Unsupported:
        return text + reinterpret_cast<const char*>(at);
    }
    const void* zero = std::memchr(chunk, '\0', length);
    if (zero) {
      text.append(chunk, static_cast<size_t>(static_cast<const char*>(zero) - chunk));
      return text;
    }
    text.append(chunk, length);
    at += length;
  }
}

}  // namespace trel
