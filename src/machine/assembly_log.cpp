#include "machine/assembly_log.h"

#include <cstring>

#include "rtl/errors.h"
#include "rtl/integer_text.h"

namespace trel {

namespace {

// Eight characters at once with a..z upper-cased and every other byte as it was.
inline uint64_t upperAscii8(uint64_t x) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  uint64_t low = x & (0x7F * kOnes);
  uint64_t fromA = low + (0x80 - 'a') * kOnes;      // high bit: at least 'a'
  uint64_t pastZ = low + (0x80 - 'z' - 1) * kOnes;  // high bit: past 'z'
  uint64_t lower = fromA & ~pastZ & ~x & (0x80 * kOnes);
  return x ^ (lower >> 2);
}

}  // namespace

AssemblyLog::AssemblyLog() = default;

void AssemblyLog::clear() {
  chunks_.clear();
  chunkBytes_ = 0;
  chunkStart_ = cursor_ = limit_ = nullptr;
  endsStart_ = endsCur_ = endsLimit_ = nullptr;
  dropped_ = 0;
  hidden_ = 0;
  appendedAtClear_ = appended_;
  ++clears_;
}

void AssemblyLog::setCapacity(size_t maxLines) {
  hidden_ = stored() - kept();
  capacity_ = maxLines < 1 ? 1 : maxLines;
  dropChunks();
}

void AssemblyLog::setByteCapacity(size_t maxBytes) {
  byteCapacity_ = maxBytes;
  dropChunks();
}

char* AssemblyLog::reserveSlow(size_t bytes) {
  if (bytes > kOffsetBits)
    throw Error("A log line of " + std::to_string(bytes) + " bytes is too long to keep");
  // The new chunk's memory first, so that a failure leaves the log as it was.
  Chunk c;
  c.size = bytes > kChunkBytes ? bytes : kChunkBytes;
  c.data = spare_ && c.size == kChunkBytes ? std::move(spare_)
                                           : std::make_unique_for_overwrite<char[]>(c.size);
  c.ends =
      spareEnds_ ? std::move(spareEnds_) : std::make_unique_for_overwrite<uint32_t[]>(kChunkLines);
  // Close the newest chunk (its lines end at endsCur_) and start the new one.
  if (!chunks_.empty()) chunks_.back().count = static_cast<size_t>(endsCur_ - endsStart_);
  chunks_.push_back(std::move(c));
  Chunk& back = chunks_.back();
  chunkBytes_ += back.size;
  chunkStart_ = cursor_ = back.data.get();
  limit_ = chunkStart_ + back.size;
  endsStart_ = endsCur_ = back.ends.get();
  endsLimit_ = endsStart_ + kChunkLines;
  // Older chunks go when all their lines are beyond the capacity, or while the log holds more
  // bytes than it may; their memory is kept back for the next chunk.
  dropChunks();
  return cursor_;
}

void AssemblyLog::dropChunks() {
  while (chunks_.size() > 1 &&
         (chunks_.front().count <= stored() - kept() || chunkBytes_ > byteCapacity_))
    dropFrontChunk();
}

void AssemblyLog::dropFrontChunk() {
  Chunk& c = chunks_.front();
  dropped_ += c.count;
  hidden_ -= hidden_ < c.count ? hidden_ : c.count;
  chunkBytes_ -= c.size;
  if (c.size == kChunkBytes) spare_ = std::move(c.data);
  spareEnds_ = std::move(c.ends);
  chunks_.pop_front();
}

template <typename Visit>
void AssemblyLog::forEachKept(Visit visit) const {
  uint64_t skip = stored() - kept();
  for (const Chunk& c : chunks_) {
    size_t n = countOf(c);
    if (skip >= n) {
      skip -= n;
      continue;
    }
    for (size_t k = static_cast<size_t>(skip); k < n; ++k) visit(c, k);
    skip = 0;
  }
}

void AssemblyLog::append(std::initializer_list<std::string_view> parts) {
  if (muted_) return;
  size_t total = 0;
  for (auto p : parts) total += p.size();
  char* out = reserve(total);
  for (auto p : parts) out = copyShort(out, p.data(), p.size());
  commitLine(out);
}

void AssemblyLog::appendInterpreting(std::string_view text) {
  static constexpr std::string_view kPrefix = kInterpreting;
  if (muted_) return;
  char* p = reserve(kPrefix.size() + text.size() + 1);
  std::memcpy(p, kPrefix.data(), kPrefix.size());
  p += kPrefix.size();
  size_t k = 0;
  for (; k + 8 <= text.size(); k += 8, p += 8) {
    uint64_t x;
    std::memcpy(&x, text.data() + k, 8);
    x = upperAscii8(x);
    std::memcpy(p, &x, 8);
  }
  for (; k < text.size(); ++k) {
    char c = text[k];
    *p++ = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  }
  *p++ = ']';
  commitLine(p);
}

void AssemblyLog::appendStored(std::string& out, const Chunk& c, size_t k) {
  // A chunk's first line is never a repeat.
  while (c.ends[k] & kRepeat) --k;
  size_t begin = c.begin(k);
  const char* p = c.data.get() + begin;
  if (c.ends[k] & kLineStep) {
    int64_t line, step;
    std::memcpy(&line, p, sizeof line);
    std::memcpy(&step, p + sizeof line, sizeof step);
    char text[64];
    char* end = formatInt(text + 6, line);
    std::memcpy(text, "Line: ", 6);
    std::memcpy(end, " Step: ", 7);
    end = formatInt(end + 7, step);
    out.append(text, end);
  } else {
    out.append(p, c.end(k) - begin);
  }
}

size_t AssemblyLog::lineCount() const {
  return static_cast<size_t>(kept()) + (droppedCount() ? 1 : 0);
}

std::string AssemblyLog::line(size_t index) const {
  if (droppedCount()) {
    if (index == 0) return "[" + std::to_string(droppedCount()) + " earlier lines dropped]";
    --index;
  }
  std::string out;
  if (index >= kept()) return out;
  uint64_t at = index + (stored() - kept());
  for (const Chunk& c : chunks_) {
    size_t n = countOf(c);
    if (at < n) {
      appendStored(out, c, static_cast<size_t>(at));
      break;
    }
    at -= n;
  }
  return out;
}

std::vector<std::string> AssemblyLog::lines() const {
  std::vector<std::string> out;
  out.reserve(lineCount());
  if (droppedCount()) out.push_back(line(0));
  forEachKept([&](const Chunk& c, size_t k) { appendStored(out.emplace_back(), c, k); });
  return out;
}

std::string AssemblyLog::text() const {
  std::string out;
  if (droppedCount()) out += line(0) + "\r\n";
  forEachKept([&](const Chunk& c, size_t k) {
    appendStored(out, c, k);
    out += "\r\n";
  });
  return out;
}

}  // namespace trel
