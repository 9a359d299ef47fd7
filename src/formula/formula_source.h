// The formula text as the lexer reads it. Constant substitution rewrites the text at the read
// position, so the text cannot simply be a string that is spliced: a long formula full of keyword
// words would be copied once per word. Instead the unread rest of the text never moves; a
// substitution shifts only the few characters between the start of the current scan and the
// word, into room kept in front of the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trel {

class FormulaSource {
 public:
  // The text followed by two NUL end markers; positions count from 0.
  void assign(std::string_view text);
  char at(size_t pos) const { return buf_[base_ + pos]; }
  std::string_view view(size_t from, size_t to) const {
    return std::string_view(buf_).substr(base_ + from, to - from);
  }
  // Replaces [from, to) by `replacement`, so that the replacement starts at `from`. Positions
  // from `keepFrom` up to `from` keep their characters; positions before `keepFrom` become
  // unreadable.
  void replace(size_t keepFrom, size_t from, size_t to, std::string_view replacement);
  // Where position `pos` of the unread rest lay in the text as assigned (substitutions before it
  // shifted it); 0 for a position inside a substitution that lies before the text's start.
  size_t originalOffset(size_t pos) const {
    size_t at = base_ + pos;
    return at > start_ ? at - start_ : 0;
  }

 private:
  std::string buf_;
  size_t base_ = 0;   // where position 0 lies in buf_
  size_t start_ = 0;  // where the assigned text began in buf_
};

}  // namespace trel
