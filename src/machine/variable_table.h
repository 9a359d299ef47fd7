// The machine's one table of 9,257 name/value slots (registers, flags, variables, array cells and
// class members).
//
// Slot rules the rest of the system relies on:
//  - a free slot is named "00"; before the first program run every slot is named "" instead;
//  - a new name goes into slot NextSlotIndex() = (number of slots not named "00") + 1, so with the
//    registers in slots 0 to 10 and RGSTR, FL1, FL2 declared after them, slot 11 stays free;
//  - reading a name no slot bears gives "VARIABLE NOT EXISTS"; writing it does nothing.
//
// Every operation costs O(1) on average: explicitly named slots are found through a hash map, and
// the free slots, whose values can only change all together (a write to the name "00" reaches every
// one of them), share one value instead of being visited.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "machine/slot_index.h"
#include "rtl/short_copy.h"

namespace trel {

class VariableTable {
 public:
  static constexpr int kSlotCount = 9257;
  static constexpr const char* kFreeName = "00";
  static constexpr const char* kNotExists = "VARIABLE NOT EXISTS";

  VariableTable();

  // Every slot becomes free: name "00", value "00".
  void ClearVariables();
  // Writes the register names RG0 to RG10 into slots 0 to 10 (values untouched), then declares
  // RGSTR, FL1 and FL2.
  void InitRegisterNames();
  int NextSlotIndex() const;
  bool VariableExists(std::string_view name) const { return findSlot(name) >= 0; }
  // Writes the name into slot NextSlotIndex() when no slot bears it; the slot keeps its value.
  // Throws trel::Error when that slot lies beyond the table.
  void DeclareVariable(std::string_view name);
  // The value of the highest slot bearing the name, or "VARIABLE NOT EXISTS".
  const std::string& GetVariable(std::string_view name) const;
  // Sets every slot bearing the name; never declares.
  void SetVariable(std::string_view name, std::string_view value);

  // Slot-level access for instructions that look a name up once and then read or write it.
  // findSlot gives the highest slot bearing the name, or -1.
  int findSlot(std::string_view name) const;
  const std::string& valueAt(int slot) const {
    if (slot == piecesSlot_) joinPieces();
    if (!named_[static_cast<size_t>(slot)]) return fillValue_;
    if (ints_[static_cast<size_t>(slot)] >= kUnwritten / 2) writeIntText(slot);
    return values_[static_cast<size_t>(slot)];
  }
  void setValueAt(int slot, std::string_view value) {
    dropPieces(slot);
    store(named_[static_cast<size_t>(slot)] ? values_[static_cast<size_t>(slot)] : fillValue_,
          value);
  }
  // The slot's value read as an integer (tryTextToInt), remembered until the value changes.
  bool intAt(int slot, int32_t& value) const {
    int64_t known = knownInt(slot);
    if (known == kIntNone) return false;
    value = static_cast<int32_t>(known);  // the low 32 bits, whatever the kind
    return true;
  }
  // The same, true only when the value is plain decimal digits, with a "-" before them for a
  // number below zero: a text that every reading of numbers reads as that integer.
  bool plainIntAt(int slot, int32_t& value) const {
    int64_t known = knownInt(slot);
    if (known < kPlain / 2) return false;
    value = static_cast<int32_t>(known);
    return true;
  }
  // plainIntAt for a slot with a name of its own other than the free slots' one (a formula's
  // variable, usually), and false for every other slot.
  bool namedPlainIntAt(int slot, int32_t& value) const {
    auto i = static_cast<size_t>(slot);
    if (!named_[i] || ints_[i] < kPlain / 2 ||
        names_[i].size() == std::string_view(kFreeName).size())
      return false;
    value = static_cast<int32_t>(ints_[i]);
    return true;
  }
  // Copies the value of one slot to another, as setValueAt(to, valueAt(from)); an integer that
  // setIntAt wrote goes across as the integer, without its text.
  void copyValue(int from, int to);
  // valueAt, or "VARIABLE NOT EXISTS" for slot -1 (what GetVariable answers for the slot's name).
  const std::string& valueOrNotExists(int slot) const {
    return slot < 0 ? notExistsText() : valueAt(slot);
  }
  // Sets the value to the integer's decimal text, as setValueAt, and remembers the integer; the
  // text itself is written when someone reads it.
  void setIntAt(int slot, int32_t value) {
    dropPieces(slot);
    if (!named_[static_cast<size_t>(slot)]) return setFreeSlotsInt(value);
    ints_[static_cast<size_t>(slot)] = value + kUnwritten;
  }
  const std::string& nameAt(int slot) const {
    return named_[static_cast<size_t>(slot)] ? names_[static_cast<size_t>(slot)] : fillName_;
  }
  bool isOccupied(int slot) const {
    const std::string& name = nameAt(slot);
    return name.size() != 2 || name[0] != '0' || name[1] != '0';
  }
  // The lowest slot not named explicitly (it bears the name every such slot bears), or -1.
  int lowestFreeSlot() const;
  int occupiedCount() const;

  // Stable storage address of a slot's value (our own numbers, never raw memory) and back.
  static uint32_t addressOfSlot(int slot);
  // The slot whose value lives at the address, or -1.
  static int slotAtAddress(int64_t address);

  // Explicitly named slots in the order they were named since the last clear; with clearCount()
  // this lets a cache follow the table without scanning it.
  const std::vector<int>& namedSlots() const { return namedOrder_; }
  uint64_t clearCount() const { return clearCount_; }
  // Changes whenever a name comes to a slot or the table is cleared: while it stays the same,
  // findSlot gives every name the slot it gave it before.
  uint64_t layout() const { return layout_; }
  // True for the name every slot not named explicitly bears ("00"; "" before the first clear):
  // a write to it reaches all of those slots.
  bool isFreeSlotName(std::string_view name) const { return name == fillName_; }

  // Bytes the names and values hold (the free slots' shared value counted once).
  size_t bytes() const { return bytes_; }

  // A value used as a stack of four-character pieces at its front (FL2, the call stack text):
  // pushFront puts a piece in front of the value, popFront takes four characters off its front
  // (all of it when it has four or fewer), frontFour reads them. Each costs O(1) on average: the
  // pieces pushed since the value was last read whole wait apart and join it when someone reads
  // it. A name no slot bears is left alone, as SetVariable leaves it.
  static constexpr size_t kPiece = 4;
  void pushFront(std::string_view name, std::string_view piece);
  void popFront(std::string_view name);
  std::string frontFour(std::string_view name) const;
  // The value's length, without putting it together.
  size_t valueSize(std::string_view name) const;

 private:
  static const std::string& notExistsText();
  void nameSlot(int slot, std::string_view name);
  void store(std::string& target, std::string_view value) {
    forgetInt(target);
    // Most writes replace a short value by one as long (a counter, a flag): the bytes alone
    // change.
    if (value.size() == target.size() && value.size() <= 16) {
      if (value.data() != target.data()) copyShort(target.data(), value.data(), value.size());
      return;
    }
    size_t before = target.capacity();
    target.assign(value);
    bytes_ += target.capacity();
    bytes_ -= before;
  }
  // Joins the waiting pieces to their value.
  void joinPieces() const;
  // A write replaces the whole value: the pieces waiting for it go.
  void dropPieces(int slot) {
    if (slot != piecesSlot_) return;
    bytes_ -= pieces_.size();
    pieces_.clear();
  }
  void release(std::string& target);
  int highestUnnamedSlot() const;

  std::vector<std::string> names_;
  mutable std::vector<std::string> values_;
  // The pieces pushed in front of slot piecesSlot_'s value, oldest first.
  mutable std::string pieces_;
  int piecesSlot_ = -1;
  std::vector<uint8_t> named_;  // bytes, not bits: read on every variable access
  SlotIndex index_;
  std::vector<int> namedOrder_;
  // Name and shared value of every slot that was not explicitly named.
  std::string fillName_;
  std::string fillValue_;
  // Each slot's value as an integer, kIntNone when it reads as none, kIntUnknown until asked. The
  // integer of a plain text (plainIntAt) is kept plus kPlain; of the text formatInt writes for it,
  // plus kWritten; of a value set by setIntAt whose text is not written yet, plus kUnwritten. The
  // kinds are multiples of 2^32 apart, so the low 32 bits are always the integer.
  static constexpr int64_t kIntUnknown = INT64_MIN, kIntNone = INT64_MIN + 1;
  static constexpr int64_t kPlain = int64_t{1} << 40;
  static constexpr int64_t kWritten = int64_t{1} << 42;
  static constexpr int64_t kUnwritten = int64_t{1} << 44;
  // setIntAt of the free slots' shared value, whose text is written at once.
  void setFreeSlotsInt(int32_t value);
  // Writes the text of a value set by setIntAt.
  void writeIntText(int slot) const;
  mutable std::vector<int64_t> ints_ = std::vector<int64_t>(kSlotCount, kIntUnknown);
  mutable int64_t fillInt_ = kIntUnknown;
  int64_t knownInt(int slot) const {
    int64_t& known =
        named_[static_cast<size_t>(slot)] ? ints_[static_cast<size_t>(slot)] : fillInt_;
    if (known == kIntUnknown) known = readInt(valueAt(slot));
    return known;
  }
  // What ints_ keeps for the text.
  static int64_t readInt(std::string_view text);
  // A value that changes forgets its integer (the target may be any of the table's strings).
  void forgetInt(const std::string& target) {
    auto at = reinterpret_cast<uintptr_t>(&target);
    auto first = reinterpret_cast<uintptr_t>(values_.data());
    if (at >= first && at < first + kSlotCount * sizeof(std::string))
      ints_[(at - first) / sizeof(std::string)] = kIntUnknown;
    else if (&target == &fillValue_)
      fillInt_ = kIntUnknown;
  }
  mutable int highestUnnamed_ = kSlotCount - 1;
  uint64_t clearCount_ = 0;
  uint64_t layout_ = 0;
  mutable size_t bytes_ = 0;
};

}  // namespace trel
