#include "formula/formula_source.h"

#include <cstring>

namespace trel {

void FormulaSource::assign(std::string_view text) {
  constexpr size_t kRoom = 64;
  // The room's characters are never read: only its length matters. Resizing keeps the buffer's
  // memory, so a formula after formula allocates nothing.
  buf_.resize(kRoom + text.size() + 2);
  char* at = buf_.data() + kRoom;
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  at[text.size()] = at[text.size() + 1] = '\0';
  base_ = kRoom;
  start_ = kRoom;
}

void FormulaSource::replace(size_t keepFrom, size_t from, size_t to, std::string_view replacement) {
  // Growing by `grow` moves the kept characters `grow` places towards the front.
  const ptrdiff_t grow =
      static_cast<ptrdiff_t>(replacement.size()) - static_cast<ptrdiff_t>(to - from);
  const size_t keepLength = from - keepFrom;
  size_t keepAt = base_ + keepFrom;
  if (grow > 0 && keepAt < static_cast<size_t>(grow)) {
    size_t room = buf_.size() + static_cast<size_t>(grow);
    buf_.insert(0, room, ' ');
    base_ += room;
    start_ += room;
    keepAt += room;
  }
  const size_t newKeepAt = static_cast<size_t>(static_cast<ptrdiff_t>(keepAt) - grow);
  std::memmove(&buf_[newKeepAt], &buf_[keepAt], keepLength);
  std::memcpy(&buf_[newKeepAt + keepLength], replacement.data(), replacement.size());
  base_ = static_cast<size_t>(static_cast<ptrdiff_t>(base_) - grow);
}

}  // namespace trel
