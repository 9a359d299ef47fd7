// The assembly log ("debug"): the trace lines of translations and runs.
//
// A run of millions of steps writes tens of millions of lines, so the log keeps at most
// `capacity()` lines and `byteCapacity()` bytes of chunks (long values make long lines): when it is
// full the oldest lines go, and line 0 then reads "[N earlier lines dropped]". Lines are packed
// into large chunks, so appending costs a copy of the characters and no allocation per line. The
// "Line: N Step: M" line every step writes is kept as its two numbers and spelled out only when
// someone reads it.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/short_copy.h"

namespace trel {

class AssemblyLog {
 public:
  static constexpr size_t kDefaultCapacity = 1 << 20;
  static constexpr size_t kDefaultByteCapacity = size_t{256} << 20;
  static constexpr std::string_view kInterpreting = "Interpreting  [";

  AssemblyLog();

  void clear();
  // While muted every append is dropped (a run without its step trace).
  void setMuted(bool muted) { muted_ = muted; }
  bool muted() const { return muted_; }
  void append(std::string_view line) {
    if (muted_) return;
    char* p = reserve(line.size());
    commitLine(copyShort(p, line.data(), line.size()));
  }
  // One line made of the parts, joined without anything between them.
  void append(std::initializer_list<std::string_view> parts);
  // "Interpreting  [" + upper-cased text + "]", upper-casing while copying.
  void appendInterpreting(std::string_view text);
  // "Line: " + line + " Step: " + step.
  void appendLineStep(int64_t line, int64_t step) {
    if (muted_) return;
    char* p = reserve(2 * sizeof(int64_t));
    std::memcpy(p, &line, sizeof line);
    std::memcpy(p + sizeof line, &step, sizeof step);
    commitLine(p + 2 * sizeof(int64_t), kLineStep);
  }

  // Lines as they read now, the dropped-lines notice first when lines were dropped.
  size_t lineCount() const;
  std::string line(size_t index) const;
  std::vector<std::string> lines() const;
  // Every line followed by CR LF.
  std::string text() const;

  uint64_t droppedCount() const { return dropped_; }
  // Number of lines appended since the log was made; never goes back, also not on clear(), so a
  // viewer can tell which lines it has not shown yet.
  uint64_t appendedCount() const { return appended_; }
  // Bumped by clear(), so a viewer knows to start again.
  uint64_t clearCount() const { return clears_; }
  size_t capacity() const { return capacity_; }
  void setCapacity(size_t maxLines);
  size_t byteCapacity() const { return byteCapacity_; }
  void setByteCapacity(size_t maxBytes);
  // Bytes the log holds in memory now.
  size_t bytes() const { return chunkBytes_; }

 private:
  struct Chunk {
    std::unique_ptr<char[]> data;
    size_t used = 0;
    size_t size = 0;  // bytes allocated for data
    // End offset of each line in data, with the line's kind (Kind) in the top bit.
    std::vector<uint32_t> ends;
    size_t first = 0;  // index of the first line still kept
    size_t begin(size_t k) const { return k == 0 ? 0 : ends[k - 1] & kOffsetBits; }
    size_t end(size_t k) const { return ends[k] & kOffsetBits; }
  };
  static constexpr size_t kChunkBytes = 1 << 20;
  enum Kind : uint32_t { kText = 0, kLineStep = uint32_t{1} << 31 };
  static constexpr uint32_t kOffsetBits = ~uint32_t{kLineStep};

  char* reserve(size_t bytes) {
    if (static_cast<size_t>(limit_ - cursor_) >= bytes) return cursor_;
    return reserveSlow(bytes);
  }
  void commitLine(char* end, Kind kind = kText) {
    cursor_ = end;
    ends_->push_back(static_cast<uint32_t>(end - chunkStart_) | kind);
    ++appended_;
    // A full log drops its oldest line for the new one, and keeps as many as before.
    if (kept_ < capacity_)
      ++kept_;
    else
      dropFront(kept_);
  }
  char* reserveSlow(size_t bytes);
  // The oldest line goes (counted as dropped); the caller keeps kept_, and `keptAfter` lines are
  // left.
  void dropFront(size_t keptAfter) {
    Chunk& c = chunks_.front();
    ++c.first;
    ++dropped_;
    // In the newest chunk, whose line ends were just written to, the size is not read back (that
    // load would wait for the store): the count of lines left tells whether it emptied.
    if (&c.ends == ends_ ? keptAfter == 0 : c.first == c.ends.size()) dropChunk();
  }
  // The front chunk, all of whose lines were dropped, goes (the newest one starts over in place).
  void dropChunk();
  void dropOldest() {
    dropFront(kept_ - 1);
    --kept_;
  }
  // Appends line k of chunk c as it reads.
  static void appendStored(std::string& out, const Chunk& c, size_t k);

  std::deque<Chunk> chunks_;
  // One chunk kept back when the oldest is dropped, so a long run reuses its memory instead of
  // asking for (and touching) fresh pages for every chunk.
  std::unique_ptr<char[]> spare_;
  std::vector<uint32_t> spareEnds_;
  // The newest chunk's free space and line ends, so appending does not look the chunk up.
  char* chunkStart_ = nullptr;
  char* cursor_ = nullptr;
  char* limit_ = nullptr;
  std::vector<uint32_t>* ends_ = nullptr;
  size_t kept_ = 0;
  uint64_t dropped_ = 0;
  uint64_t appended_ = 0;
  uint64_t clears_ = 0;
  size_t capacity_ = kDefaultCapacity;
  size_t byteCapacity_ = kDefaultByteCapacity;
  size_t chunkBytes_ = 0;
  bool muted_ = false;
};

}  // namespace trel
