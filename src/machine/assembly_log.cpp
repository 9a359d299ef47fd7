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
  ends_ = nullptr;
  kept_ = 0;
  dropped_ = 0;
  ++clears_;
}

void AssemblyLog::setCapacity(size_t maxLines) {
  capacity_ = maxLines < 1 ? 1 : maxLines;
  while (kept_ > capacity_) dropOldest();
}

void AssemblyLog::setByteCapacity(size_t maxBytes) {
  byteCapacity_ = maxBytes;
  while (chunkBytes_ > byteCapacity_ && chunks_.size() > 1) dropOldest();
}

char* AssemblyLog::reserveSlow(size_t bytes) {
  // Close the newest chunk (its bytes end at the cursor) and start another.
  // Line ends are kept as 31-bit offsets.
  if (bytes > kOffsetBits)
    throw Error("A log line of " + std::to_string(bytes) + " bytes is too long to keep");
  if (!chunks_.empty()) chunks_.back().used = static_cast<size_t>(cursor_ - chunkStart_);
  Chunk c;
  size_t size = bytes > kChunkBytes ? bytes : kChunkBytes;
  if (spare_ && bytes <= kChunkBytes)
    c.data = std::move(spare_);
  else
    c.data.reset(new char[size]);
  c.ends = std::move(spareEnds_);
  c.ends.clear();
  c.ends.reserve(kChunkBytes / 16);
  c.size = size;
  chunkBytes_ += size;
  chunks_.push_back(std::move(c));
  Chunk& back = chunks_.back();
  chunkStart_ = back.data.get();
  cursor_ = chunkStart_;
  limit_ = chunkStart_ + size;
  ends_ = &back.ends;
  // Whole chunks go while the log holds more bytes than it may; the newest always stays.
  while (chunkBytes_ > byteCapacity_ && chunks_.size() > 1) dropOldest();
  return cursor_;
}

void AssemblyLog::dropChunk() {
  Chunk& c = chunks_.front();
  if (&c.ends == ends_) {
    c.ends.clear();
    c.first = 0;
    cursor_ = chunkStart_;
    return;
  }
  if (c.size == kChunkBytes) spare_ = std::move(c.data);
  spareEnds_ = std::move(c.ends);
  chunkBytes_ -= c.size;
  chunks_.pop_front();
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
  return kept_ + (dropped_ ? 1 : 0);
}

std::string AssemblyLog::line(size_t index) const {
  if (dropped_) {
    if (index == 0) return "[" + std::to_string(dropped_) + " earlier lines dropped]";
    --index;
  }
  std::string out;
  for (const Chunk& c : chunks_) {
    size_t n = c.ends.size() - c.first;
    if (index < n) {
      appendStored(out, c, c.first + index);
      break;
    }
    index -= n;
  }
  return out;
}

std::vector<std::string> AssemblyLog::lines() const {
  std::vector<std::string> out;
  out.reserve(lineCount());
  if (dropped_) out.push_back(line(0));
  for (const Chunk& c : chunks_)
    for (size_t k = c.first; k < c.ends.size(); ++k) appendStored(out.emplace_back(), c, k);
  return out;
}

std::string AssemblyLog::text() const {
  std::string out;
  if (dropped_) out += line(0) + "\r\n";
  for (const Chunk& c : chunks_)
    for (size_t k = c.first; k < c.ends.size(); ++k) {
      appendStored(out, c, k);
      out += "\r\n";
    }
  return out;
}

}  // namespace trel
