#include "rtl/file_mask.h"

#include <bitset>
#include <string>
#include <vector>

#include "rtl/errors.h"
#include "rtl/text.h"

namespace trel {

namespace {

char lowerChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

struct MaskElement {
  enum Kind { Literal, AnyOne, AnyRun, Set } kind;
  char literal = 0;  // upper-cased
  std::bitset<256> set;

  explicit MaskElement(Kind k, char c = 0) : kind(k), literal(c) {}

  bool matches(char c) const {
    switch (kind) {
      case Literal:
        return upperChar(c) == literal;
      case AnyOne:
        return true;
      case Set:
        return set.test(static_cast<unsigned char>(c));
      case AnyRun:
        break;
    }
    return false;
  }
};

[[noreturn]] void invalidMask(std::string_view mask) {
  throw Error("Invalid mask: '" + std::string(mask) + "'");
}

void addCaseless(std::bitset<256>& set, unsigned char c) {
  set.set(c);
  set.set(static_cast<unsigned char>(upperChar(static_cast<char>(c))));
  set.set(static_cast<unsigned char>(lowerChar(static_cast<char>(c))));
}

std::vector<MaskElement> parseMask(std::string_view mask) {
  std::vector<MaskElement> elements;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    if (c == '*') {
      if (elements.empty() || elements.back().kind != MaskElement::AnyRun)
        elements.emplace_back(MaskElement::AnyRun);
    } else if (c == '?') {
      elements.emplace_back(MaskElement::AnyOne);
    } else if (c == '[') {
      MaskElement e(MaskElement::Set);
      size_t j = i + 1;
      bool negate = j < mask.size() && mask[j] == '!';
      if (negate) ++j;
      size_t first = j;
      while (j < mask.size() && mask[j] != ']') {
        auto lo = static_cast<unsigned char>(mask[j]);
        // "a-z" is a range; a "-" first or last in the set stands for itself.
        if (j + 2 < mask.size() && mask[j + 1] == '-' && mask[j + 2] != ']') {
          auto hi = static_cast<unsigned char>(mask[j + 2]);
          for (unsigned k = lo; k <= hi; ++k) addCaseless(e.set, static_cast<unsigned char>(k));
          j += 3;
        } else {
          addCaseless(e.set, lo);
          ++j;
        }
      }
      if (j >= mask.size() || j == first) invalidMask(mask);
      if (negate) e.set.flip();
      elements.push_back(e);
      i = j;
    } else {
      elements.emplace_back(MaskElement::Literal, upperChar(c));
    }
  }
  return elements;
}

}  // namespace

bool matchesMask(std::string_view text, std::string_view mask) {
  std::vector<MaskElement> elements = parseMask(mask);
  // Greedy matching that goes back only to the last "*": linear in the text for each "*".
  size_t t = 0, p = 0;
  size_t starElement = std::string::npos, starText = 0;
  while (t < text.size()) {
    if (p < elements.size() && elements[p].kind == MaskElement::AnyRun) {
      starElement = ++p;
      starText = t;
    } else if (p < elements.size() && elements[p].matches(text[t])) {
      ++p;
      ++t;
    } else if (starElement != std::string::npos) {
      p = starElement;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < elements.size() && elements[p].kind == MaskElement::AnyRun) ++p;
  return p == elements.size();
}

}  // namespace trel
