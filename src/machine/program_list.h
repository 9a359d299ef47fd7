// The program list ("ListBox1"): the low-level lines a run executes, indexed from 0.
//
// Each line's instruction mask (which keywords occur in it) is computed once and kept until the
// line changes, so a step does not search for 38 keywords again every time a loop comes round.
// generation() changes with every edit, which tells a reader that its copy of a line is stale.
// Each line also keeps its place in the source (source_map.h), which insertions carry along.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "machine/instruction_set.h"
#include "machine/source_map.h"

namespace trel {

// Told before any line of the list changes, so that someone holding a line by its place (and not
// as a copy) can copy it while it is still there.
class ProgramListWatcher {
 public:
  virtual void beforeListChange() = 0;

 protected:
  ~ProgramListWatcher() = default;
};

class ProgramList {
 public:
  ProgramList() = default;
  explicit ProgramList(std::vector<std::string> lines) { assign(std::move(lines)); }
  // The watcher belongs to this list object: copies and moves of the list leave it behind.
  ProgramList(const ProgramList& other) { *this = other; }
  ProgramList& operator=(const ProgramList& other) {
    changing();
    index_ = other.index_;
    indexBuilt_ = other.indexBuilt_;
    lines_ = other.lines_;
    masks_ = other.masks_;
    map_ = other.map_;
    ++generation_;
    return *this;
  }
  void setWatcher(ProgramListWatcher* watcher) { watcher_ = watcher; }

  // The lines with the map of where they came from; without one (or with one of another length)
  // every line is its own source line in an unnamed file.
  void assign(std::vector<std::string> lines, SourceMap map = {});
  void clear() { assign({}); }
  int32_t size() const { return static_cast<int32_t>(lines_.size()); }
  bool empty() const { return lines_.empty(); }
  const std::string& line(int32_t index) const { return lines_[static_cast<size_t>(index)]; }
  const std::vector<std::string>& lines() const { return lines_; }
  void setLine(int32_t index, std::string text);
  void insert(int32_t index, std::string text, SourceLocation origin);
  // Removes every character `c` from every line.
  void removeCharacter(char c);
  uint64_t maskAt(int32_t index) {
    uint64_t& mask = masks_[static_cast<size_t>(index)];
    if (mask == kMaskUnknown) mask = instructionMask(lines_[static_cast<size_t>(index)]);
    return mask;
  }
  uint64_t generation() const { return generation_; }
  // Index of the first line exactly equal to `text`, or -1. Answered from an index of the lines
  // that is built once and kept up to date, so label searches in loops do not scan the list.
  int32_t findFirst(std::string_view text);

  // Where line `index` came from, and the map of the whole list.
  SourceLocation origin(int32_t index) const { return map_.locations[static_cast<size_t>(index)]; }
  const SourceMap& sourceMap() const { return map_; }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  void buildIndex();

  std::unordered_map<std::string, std::vector<int32_t>, Hash, std::equal_to<>> index_;
  bool indexBuilt_ = false;
  std::vector<std::string> lines_;
  // A line's mask, or kMaskUnknown until a step asks for it.
  static constexpr uint64_t kMaskUnknown = uint64_t{1} << 62;
  static_assert(kInstructionCount < 62 && kCommentBit != 62, "bit 62 is no mask's own");
  std::vector<uint64_t> masks_;
  SourceMap map_;
  uint64_t generation_ = 0;
  ProgramListWatcher* watcher_ = nullptr;
  void changing() {
    if (watcher_) watcher_->beforeListChange();
  }
};

}  // namespace trel
