#include "machine/slot_index.h"

namespace trel {

void SlotIndex::clear() {
  entries_.assign(1024, Entry{0, kEmpty});
  mask_ = entries_.size() - 1;
  used_ = 0;
}

void SlotIndex::grow() {
  std::vector<Entry> old = std::move(entries_);
  // Twice as large while it is more than a quarter full of live names, else only rid of the
  // removed ones.
  size_t live = 0;
  for (const Entry& e : old) live += e.slot >= 0;
  size_t size = old.size();
  while (live * 4 >= size) size *= 2;
  entries_.assign(size, Entry{0, kEmpty});
  mask_ = size - 1;
  used_ = 0;
  for (const Entry& e : old) {
    if (e.slot < 0) continue;
    size_t i = e.hash & mask_;
    while (entries_[i].slot != kEmpty) i = (i + 1) & mask_;
    entries_[i] = e;
    ++used_;
  }
}

void SlotIndex::set(std::string_view name, int slot, const Names& names) {
  const uint32_t h = hash(name);
  size_t reuse = SIZE_MAX;
  for (size_t i = h & mask_;; i = (i + 1) & mask_) {
    Entry& e = entries_[i];
    if (e.slot == kEmpty) {
      if (reuse == SIZE_MAX) {
        if ((used_ + 1) * 2 > entries_.size()) {
          grow();
          set(name, slot, names);
          return;
        }
        ++used_;
        reuse = i;
      }
      entries_[reuse] = Entry{h, slot};
      return;
    }
    if (e.slot == kRemoved) {
      if (reuse == SIZE_MAX) reuse = i;
    } else if (e.hash == h && names[static_cast<size_t>(e.slot)] == name) {
      e.slot = slot;
      return;
    }
  }
}

void SlotIndex::erase(std::string_view name, int slot) {
  const uint32_t h = hash(name);
  for (size_t i = h & mask_;; i = (i + 1) & mask_) {
    Entry& e = entries_[i];
    if (e.slot == kEmpty) return;
    if (e.slot == slot && e.hash == h) {
      e.slot = kRemoved;
      return;
    }
  }
}

}  // namespace trel
