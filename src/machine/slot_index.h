// The variable table's index from a name to the highest slot bearing it: open addressing with
// linear probing over a power-of-two table. Keys are not copied: an entry holds the slot, and the
// name is the table's own name of that slot (handed in by the caller), compared byte for byte.
// Looking a name up costs a short hash and, nearly always, one comparison, which matters because
// every instruction that touches a variable looks its name up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trel {

class SlotIndex {
 public:
  using Names = std::vector<std::string>;
  SlotIndex() { clear(); }

  static uint32_t hash(std::string_view name) {
    // FNV-1a: names are short, and a byte loop is as fast as anything for them.
    uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return h;
  }

  // The slot the name is entered with, or -1. `names` is the table's name of every slot.
  int find(std::string_view name, const Names& names) const {
    const uint32_t h = hash(name);
    for (size_t i = h & mask_;; i = (i + 1) & mask_) {
      const Entry& e = entries_[i];
      if (e.slot == kEmpty) return -1;
      if (e.slot >= 0 && e.hash == h && names[static_cast<size_t>(e.slot)] == name) return e.slot;
    }
  }
  // Enters the name with `slot`, replacing the slot it had.
  void set(std::string_view name, int slot, const Names& names);
  // Removes the name when it is entered with `slot`.
  void erase(std::string_view name, int slot);
  void clear();

 private:
  static constexpr int32_t kEmpty = -1, kRemoved = -2;
  struct Entry {
    uint32_t hash;
    int32_t slot;
  };
  void grow();

  std::vector<Entry> entries_;
  size_t mask_ = 0;
  size_t used_ = 0;  // entries that are not empty (removed ones included)
};

}  // namespace trel
