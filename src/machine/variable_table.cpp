#include "machine/variable_table.h"

#include "rtl/errors.h"
#include "rtl/integer_text.h"

namespace trel {

namespace {
const std::string kNotExistsText = VariableTable::kNotExists;
constexpr uint32_t kAddressBase = 0x00A00000;
constexpr uint32_t kAddressStride = 0x40;
}  // namespace

VariableTable::VariableTable() : names_(kSlotCount), values_(kSlotCount), named_(kSlotCount, 0) {}

void VariableTable::joinPieces() const {
  if (pieces_.empty()) return;
  std::string& value = values_[static_cast<size_t>(piecesSlot_)];
  std::string joined;
  joined.reserve(pieces_.size() + value.size());
  for (size_t end = pieces_.size(); end >= kPiece; end -= kPiece)
    joined.append(pieces_, end - kPiece, kPiece);
  joined.append(pieces_, 0, pieces_.size() % kPiece);
  joined += value;
  bytes_ -= value.capacity();
  value = std::move(joined);
  bytes_ += value.capacity();
  bytes_ -= pieces_.size();
  pieces_.clear();
}

void VariableTable::pushFront(std::string_view name, std::string_view piece) {
  int slot = findSlot(name);
  if (slot < 0 || !named_[slot]) {
    if (slot >= 0) setValueAt(slot, std::string(piece) + valueAt(slot));
    return;
  }
  if (slot != piecesSlot_) {
    joinPieces();
    piecesSlot_ = slot;
  }
  // The text of an integer is written before pieces go in front of it.
  if (ints_[static_cast<size_t>(slot)] >= kUnwritten / 2) writeIntText(slot);
  pieces_.append(piece);
  bytes_ += piece.size();
  forgetInt(values_[static_cast<size_t>(slot)]);
}

void VariableTable::popFront(std::string_view name) {
  int slot = findSlot(name);
  if (slot < 0) return;
  if (slot == piecesSlot_ && pieces_.size() >= kPiece) {
    pieces_.resize(pieces_.size() - kPiece);
    bytes_ -= kPiece;
    forgetInt(values_[static_cast<size_t>(slot)]);
    return;
  }
  joinPieces();
  const std::string& value = valueAt(slot);
  setValueAt(slot, value.size() > kPiece ? value.substr(kPiece) : std::string());
}

std::string VariableTable::frontFour(std::string_view name) const {
  int slot = findSlot(name);
  if (slot == piecesSlot_ && slot >= 0 && pieces_.size() >= kPiece)
    return pieces_.substr(pieces_.size() - kPiece);
  return GetVariable(name).substr(0, kPiece);
}

size_t VariableTable::valueSize(std::string_view name) const {
  int slot = findSlot(name);
  if (slot < 0) return kNotExistsText.size();
  size_t waiting = slot == piecesSlot_ ? pieces_.size() : 0;
  if (named_[slot] && ints_[slot] >= kUnwritten / 2) writeIntText(slot);
  return waiting + (named_[slot] ? values_[slot].size() : fillValue_.size());
}

int64_t VariableTable::readInt(std::string_view text) {
  // Plain: one to nine digits after an optional "-" ("-0" is no plain text: read as a real number
  // it is minus zero). Those are read here; the rest as tryTextToInt reads them.
  size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
  if (text.size() > first && text.size() <= 9) {
    int32_t v = 0;
    size_t k = first;
    for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k) v = v * 10 + (text[k] - '0');
    if (k == text.size() && !(first == 1 && v == 0)) return (first ? -v : v) + kPlain;
  }
  int32_t value;
  return tryTextToInt(text, value) ? value : kIntNone;
}

void VariableTable::setFreeSlotsInt(int32_t value) {
  char digits[16];
  store(fillValue_, std::string_view(digits, formatInt(digits, value) - digits));
  fillInt_ = value + kWritten;
}

void VariableTable::writeIntText(int slot) const {
  int64_t& known = ints_[static_cast<size_t>(slot)];
  auto value = static_cast<int32_t>(known);
  char digits[16];
  // The table's bookkeeping of bytes follows the text, which is why the const table writes it
  // through the same store as every other value.
  const_cast<VariableTable*>(this)->store(
      values_[static_cast<size_t>(slot)],
      std::string_view(digits, formatInt(digits, value) - digits));
  known = value + kWritten;
}

void VariableTable::copyValue(int from, int to) {
  if (from == to) return;
  int64_t known = named_[static_cast<size_t>(from)] ? ints_[static_cast<size_t>(from)] : fillInt_;
  if (known >= kWritten / 2 && named_[static_cast<size_t>(to)]) {
    dropPieces(to);
    ints_[static_cast<size_t>(to)] = static_cast<int32_t>(known) + kUnwritten;
    return;
  }
  std::string value = valueAt(from);
  setValueAt(to, value);
}

void VariableTable::release(std::string& target) {
  forgetInt(target);
  bytes_ -= target.capacity();
  std::string().swap(target);
  bytes_ += target.capacity();
}

void VariableTable::ClearVariables() {
  bytes_ -= pieces_.size();
  pieces_.clear();
  piecesSlot_ = -1;
  for (int slot : namedOrder_) {
    named_[slot] = false;
    release(names_[slot]);
    release(values_[slot]);
  }
  namedOrder_.clear();
  index_.clear();
  store(fillName_, kFreeName);
  store(fillValue_, kFreeName);
  highestUnnamed_ = kSlotCount - 1;
  ++clearCount_;
  ++layout_;
}

void VariableTable::nameSlot(int slot, std::string_view name) {
  ++layout_;
  if (slot == piecesSlot_) joinPieces();
  if (named_[slot]) {
    index_.erase(names_[slot], slot);
  } else {
    store(values_[slot], fillValue_);
    named_[slot] = true;
    namedOrder_.push_back(slot);
  }
  store(names_[slot], name);
  if (index_.find(name, names_) < slot) index_.set(name, slot, names_);
}

void VariableTable::InitRegisterNames() {
  for (int i = 0; i <= 10; ++i) nameSlot(i, "RG" + std::to_string(i));
  DeclareVariable("RGSTR");
  DeclareVariable("FL1");
  DeclareVariable("FL2");
}

int VariableTable::occupiedCount() const {
  int count = static_cast<int>(namedOrder_.size());
  if (fillName_ != kFreeName) count += kSlotCount - count;
  return count;
}

int VariableTable::NextSlotIndex() const {
  return occupiedCount() + 1;
}

int VariableTable::lowestFreeSlot() const {
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (!named_[slot]) return slot;
  return -1;
}

int VariableTable::highestUnnamedSlot() const {
  while (highestUnnamed_ >= 0 && named_[highestUnnamed_]) --highestUnnamed_;
  return highestUnnamed_;
}

int VariableTable::findSlot(std::string_view name) const {
  int slot = index_.find(name, names_);
  if (name == fillName_) {
    int unnamed = highestUnnamedSlot();
    if (unnamed > slot) slot = unnamed;
  }
  return slot;
}

void VariableTable::DeclareVariable(std::string_view name) {
  if (VariableExists(name)) return;
  int slot = NextSlotIndex();
  if (slot >= kSlotCount)
    throw Error("The variable table is full: cannot declare \"" + std::string(name) +
                "\" (at most " + std::to_string(kSlotCount - 1) + " names)");
  nameSlot(slot, name);
}

const std::string& VariableTable::notExistsText() {
  return kNotExistsText;
}

const std::string& VariableTable::GetVariable(std::string_view name) const {
  return valueOrNotExists(findSlot(name));
}

void VariableTable::SetVariable(std::string_view name, std::string_view value) {
  int slot = index_.find(name, names_);
  if (slot >= 0) {
    dropPieces(slot);
    store(values_[static_cast<size_t>(slot)], value);
  }
  // The free slots share one value, so a write to their name reaches all of them at once.
  if (name == fillName_ && highestUnnamedSlot() >= 0) store(fillValue_, value);
}

uint32_t VariableTable::addressOfSlot(int slot) {
  return kAddressBase + static_cast<uint32_t>(slot) * kAddressStride;
}

int VariableTable::slotAtAddress(int64_t address) {
  int64_t offset = address - kAddressBase;
  if (offset < 0 || offset % kAddressStride != 0) return -1;
  int64_t slot = offset / kAddressStride;
  return slot < kSlotCount ? static_cast<int>(slot) : -1;
}

}  // namespace trel
