// The assembly log ("debug"): the trace lines of translations and runs.
//
// A run of millions of steps writes tens of millions of lines, so the log keeps at most
// `capacity()` lines and `byteCapacity()` bytes of chunks (long values make long lines): when it is
// full the oldest lines go, and line 0 then reads "[N earlier lines dropped]". Lines are packed
// into large chunks, so appending costs a copy of the characters and no allocation per line. The
// "Line: N Step: M" line every step writes is kept as its two numbers and spelled out only when
// someone reads it, and a line written again right after itself is kept as a mark only.
//
// Appending does not drop anything: the lines beyond the capacity are left out when the log is
// read, and their memory goes a whole chunk at a time when a new chunk is started.
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
  // The line appended last once more; `line` must be its text (written out when the last line
  // lies in another chunk).
  void appendAgain(std::string_view line) {
    if (muted_) return;
    if (endsCur_ == endsStart_ || endsCur_ == endsLimit_) return append(line);
    *endsCur_ = (endsCur_[-1] & kOffsetBits) | kRepeat;
    ++endsCur_;
    ++appended_;
  }

  // Lines as they read now, the dropped-lines notice first when lines were dropped.
  size_t lineCount() const;
  std::string line(size_t index) const;
  std::vector<std::string> lines() const;
  // Every line followed by CR LF.
  std::string text() const;

  uint64_t droppedCount() const { return dropped_ + stored() - kept(); }
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
    // End offset of each line in data, with the line's kind (Kind) in the top bits.
    std::unique_ptr<uint32_t[]> ends;
    size_t size = 0;   // bytes allocated for data
    size_t count = 0;  // lines, once the chunk is no longer the newest
    size_t begin(size_t k) const { return k == 0 ? 0 : ends[k - 1] & kOffsetBits; }
    size_t end(size_t k) const { return ends[k] & kOffsetBits; }
  };
  static constexpr size_t kChunkBytes = 1 << 20;
  static constexpr size_t kChunkLines = kChunkBytes / 16;
  // A repeated line holds no bytes: it reads as the nearest line before it that is not one.
  enum Kind : uint32_t { kText = 0, kLineStep = uint32_t{1} << 31, kRepeat = uint32_t{1} << 30 };
  static constexpr uint32_t kOffsetBits = kRepeat - 1;

  char* reserve(size_t bytes) {
    if (static_cast<size_t>(limit_ - cursor_) >= bytes && endsCur_ != endsLimit_) return cursor_;
    return reserveSlow(bytes);
  }
  void commitLine(char* end, Kind kind = kText) {
    cursor_ = end;
    *endsCur_++ = static_cast<uint32_t>(end - chunkStart_) | kind;
    ++appended_;
  }
  char* reserveSlow(size_t bytes);
  // Lines held in the chunks, and how many of them are read (the newest capacity() of them).
  uint64_t stored() const { return appended_ - appendedAtClear_ - dropped_; }
  uint64_t kept() const {
    uint64_t live = stored() - hidden_;
    return live < capacity_ ? live : capacity_;
  }
  size_t countOf(const Chunk& c) const {
    return &c == &chunks_.back() ? static_cast<size_t>(endsCur_ - endsStart_) : c.count;
  }
  // Drops the oldest chunks whose lines are all beyond the capacity or, while the log holds more
  // bytes than it may, the oldest chunks at all; the newest always stays.
  void dropChunks();
  void dropFrontChunk();
  // Calls visit(chunk, index) for each line that is read, oldest first.
  template <typename Visit>
  void forEachKept(Visit visit) const;
  // Appends line k of chunk c as it reads.
  static void appendStored(std::string& out, const Chunk& c, size_t k);

  std::deque<Chunk> chunks_;
  // One chunk kept back when the oldest is dropped, so a long run reuses its memory instead of
  // asking for (and touching) fresh pages for every chunk.
  std::unique_ptr<char[]> spare_;
  std::unique_ptr<uint32_t[]> spareEnds_;
  // The newest chunk's free space and line ends, so appending does not look the chunk up.
  char* chunkStart_ = nullptr;
  char* cursor_ = nullptr;
  char* limit_ = nullptr;
  uint32_t* endsStart_ = nullptr;
  uint32_t* endsCur_ = nullptr;
  uint32_t* endsLimit_ = nullptr;
  uint64_t dropped_ = 0;  // lines whose chunks went
  // The oldest stored lines that a smaller capacity dropped for good (a larger one later does not
  // bring them back).
  uint64_t hidden_ = 0;
  uint64_t appended_ = 0;
  uint64_t appendedAtClear_ = 0;
  uint64_t clears_ = 0;
  size_t capacity_ = kDefaultCapacity;
  size_t byteCapacity_ = kDefaultByteCapacity;
  size_t chunkBytes_ = 0;
  bool muted_ = false;
};

}  // namespace trel
