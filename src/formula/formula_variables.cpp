#include "formula/formula_variables.h"

#include <algorithm>

#include "rtl/text.h"

namespace trel {

namespace {
constexpr size_t kIndexFrom = 32;

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upperChar(a[i]) != upperChar(b[i])) return false;
  return true;
}

// Names are short as a rule: comparing their characters in place costs less than a call each.
bool sameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}
}  // namespace

uint64_t ArrayVariables::keyOf(std::string_view name) {
  return name.empty() ? 0 : name.size() << 8 | static_cast<unsigned char>(upperChar(name[0]));
}

void ArrayVariables::setNames(int n, const std::string* names) {
  // The same names again (a formula after formula on the same variables) keep their index.
  if (names_.size() == static_cast<size_t>(n) &&
      std::equal(names_.begin(), names_.end(), names, sameText))
    return;
  names_.assign(names, names + n);
  keys_.resize(names_.size());
  single_.fill(-1);
  singleFolded_.fill(-1);
  for (size_t i = 0; i < names_.size(); ++i) {
    keys_[i] = keyOf(names_[i]);
    if (names_[i].size() != 1) continue;
    const auto c = static_cast<unsigned char>(names_[i][0]);
    const auto folded = static_cast<unsigned char>(upperChar(names_[i][0]));
    if (single_[c] < 0) single_[c] = static_cast<int32_t>(i);
    if (singleFolded_[folded] < 0) singleFolded_[folded] = static_cast<int32_t>(i);
  }
  exact_.clear();
  folded_.clear();
  indexed_ = false;
}

int ArrayVariables::find(std::string_view name, bool caseSensitive) {
  if (name.size() == 1) {
    const auto c = static_cast<unsigned char>(name[0]);
    return caseSensitive ? single_[c]
                         : singleFolded_[static_cast<unsigned char>(upperChar(name[0]))];
  }
  if (names_.size() < kIndexFrom) {
    const uint64_t key = keyOf(name);
    for (size_t i = 0; i < names_.size(); ++i)
      if (keys_[i] == key &&
          (caseSensitive ? std::string_view(names_[i]) == name : equalNoCase(names_[i], name)))
        return static_cast<int>(i);
    return -1;
  }
  if (!indexed_) {
    for (size_t i = 0; i < names_.size(); ++i) {
      exact_.try_emplace(names_[i], static_cast<int>(i));
      folded_.try_emplace(upperCase(names_[i]), static_cast<int>(i));
    }
    indexed_ = true;
  }
  const auto& map = caseSensitive ? exact_ : folded_;
  auto it = map.find(caseSensitive ? std::string(name) : upperCase(name));
  return it == map.end() ? -1 : it->second;
}

}  // namespace trel
