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
}  // namespace

void ArrayVariables::setNames(int n, const std::string* names) {
  // The same names again (a formula after formula on the same variables) keep their index.
  if (names_.size() == static_cast<size_t>(n) && std::equal(names_.begin(), names_.end(), names))
    return;
  names_.assign(names, names + n);
  exact_.clear();
  folded_.clear();
  indexed_ = false;
}

int ArrayVariables::find(std::string_view name, bool caseSensitive) {
  if (names_.size() < kIndexFrom) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (caseSensitive ? names_[i] == name : equalNoCase(names_[i], name))
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
