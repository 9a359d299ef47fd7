#include "machine/assembly_log.h"

#include <charconv>
#include <cstring>

namespace trel {

AssemblyLog::AssemblyLog() = default;

void AssemblyLog::clear() {
  chunks_.clear();
  kept_ = 0;
  dropped_ = 0;
  ++clears_;
}

void AssemblyLog::setCapacity(size_t maxLines) {
  capacity_ = maxLines < 1 ? 1 : maxLines;
  while (kept_ > capacity_) dropOldest();
}

char* AssemblyLog::reserve(size_t bytes) {
  if (chunks_.empty() || chunks_.back().used + bytes > kChunkBytes ||
      chunks_.back().ends.size() >= kChunkBytes / 8) {
    Chunk c;
    c.data.reset(new char[bytes > kChunkBytes ? bytes : kChunkBytes]);
    chunks_.push_back(std::move(c));
  }
  Chunk& c = chunks_.back();
  return c.data.get() + c.used;
}

void AssemblyLog::commitLine(char* end) {
  Chunk& c = chunks_.back();
  c.used = static_cast<size_t>(end - c.data.get());
  c.ends.push_back(static_cast<uint32_t>(c.used));
  ++kept_;
  ++appended_;
  if (kept_ > capacity_) dropOldest();
}

void AssemblyLog::dropOldest() {
  Chunk& c = chunks_.front();
  ++c.first;
  --kept_;
  ++dropped_;
  if (c.first == c.ends.size()) chunks_.pop_front();
}

void AssemblyLog::append(std::string_view line) {
  char* p = reserve(line.size());
  if (!line.empty()) std::memcpy(p, line.data(), line.size());
  commitLine(p + line.size());
}

void AssemblyLog::appendInterpreting(std::string_view text) {
  static constexpr std::string_view kPrefix = "Interpreting  [";
  char* p = reserve(kPrefix.size() + text.size() + 1);
  std::memcpy(p, kPrefix.data(), kPrefix.size());
  p += kPrefix.size();
  for (char c : text) *p++ = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  *p++ = ']';
  commitLine(p);
}

void AssemblyLog::appendLineStep(int64_t line, int64_t step) {
  char* p = reserve(64);
  std::memcpy(p, "Line: ", 6);
  p = std::to_chars(p + 6, p + 30, line).ptr;
  std::memcpy(p, " Step: ", 7);
  p = std::to_chars(p + 7, p + 31, step).ptr;
  commitLine(p);
}

std::string_view AssemblyLog::storedLine(size_t index) const {
  for (const Chunk& c : chunks_) {
    size_t n = c.ends.size() - c.first;
    if (index < n) {
      size_t k = c.first + index;
      size_t begin = k == 0 ? 0 : c.ends[k - 1];
      return std::string_view(c.data.get() + begin, c.ends[k] - begin);
    }
    index -= n;
  }
  return {};
}

size_t AssemblyLog::lineCount() const { return kept_ + (dropped_ ? 1 : 0); }

std::string AssemblyLog::line(size_t index) const {
  if (dropped_) {
    if (index == 0) return "[" + std::to_string(dropped_) + " earlier lines dropped]";
    --index;
  }
  return std::string(storedLine(index));
}

std::vector<std::string> AssemblyLog::lines() const {
  std::vector<std::string> out;
  out.reserve(lineCount());
  if (dropped_) out.push_back(line(0));
  for (const Chunk& c : chunks_)
    for (size_t k = c.first; k < c.ends.size(); ++k) {
      size_t begin = k == 0 ? 0 : c.ends[k - 1];
      out.emplace_back(c.data.get() + begin, c.ends[k] - begin);
    }
  return out;
}

std::string AssemblyLog::text() const {
  std::string out;
  if (dropped_) out += line(0) + "\r\n";
  for (const Chunk& c : chunks_)
    for (size_t k = c.first; k < c.ends.size(); ++k) {
      size_t begin = k == 0 ? 0 : c.ends[k - 1];
      out.append(c.data.get() + begin, c.ends[k] - begin);
      out += "\r\n";
    }
  return out;
}

}  // namespace trel
