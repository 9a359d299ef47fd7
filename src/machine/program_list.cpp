#include "machine/program_list.h"

#include <algorithm>

#include "machine/instruction_set.h"

namespace trel {

void ProgramList::assign(std::vector<std::string> lines, SourceMap map) {
  changing();
  lines_ = std::move(lines);
  if (map.locations.size() == lines_.size()) {
    map_ = std::move(map);
  } else {
    std::vector<std::string> files = std::move(map.files);
    map_ = SourceMap::identity(files.empty() ? std::string() : files.front(), lines_.size());
  }
  indexBuilt_ = false;
  masks_.assign(lines_.size(), kMaskUnknown);
  ++generation_;
}

void ProgramList::setLine(int32_t index, std::string text) {
  changing();
  std::string& slot = lines_[static_cast<size_t>(index)];
  if (indexBuilt_) {
    auto& oldList = index_[slot];
    oldList.erase(std::lower_bound(oldList.begin(), oldList.end(), index));
    auto& newList = index_[text];
    newList.insert(std::lower_bound(newList.begin(), newList.end(), index), index);
  }
  slot = std::move(text);
  masks_[static_cast<size_t>(index)] = kMaskUnknown;
  ++generation_;
}

void ProgramList::insert(int32_t index, std::string text, SourceLocation origin) {
  changing();
  lines_.insert(lines_.begin() + index, std::move(text));
  map_.locations.insert(map_.locations.begin() + index, origin);
  indexBuilt_ = false;
  masks_.insert(masks_.begin() + index, kMaskUnknown);
  ++generation_;
}

void ProgramList::removeCharacter(char c) {
  changing();
  for (auto& l : lines_) l.erase(std::remove(l.begin(), l.end(), c), l.end());
  indexBuilt_ = false;
  masks_.assign(lines_.size(), kMaskUnknown);
  ++generation_;
}

void ProgramList::buildIndex() {
  index_.clear();
  for (int32_t i = 0; i < size(); ++i) index_[lines_[static_cast<size_t>(i)]].push_back(i);
  indexBuilt_ = true;
}

int32_t ProgramList::findFirst(std::string_view text) {
  if (!indexBuilt_) buildIndex();
  auto it = index_.find(text);
  return (it == index_.end() || it->second.empty()) ? -1 : it->second.front();
}

}  // namespace trel
