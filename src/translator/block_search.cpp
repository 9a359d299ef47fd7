#include "translator/block_search.h"

#include <algorithm>

namespace trel {

BlockCounter::Node BlockCounter::combine(const Node& a, const Node& b) {
  return {a.sum + b.sum, std::min(a.minPrefix, a.sum + b.minPrefix),
          std::min(b.minSuffix, b.sum + a.minSuffix)};
}

void BlockCounter::assign(const std::vector<int8_t>& values) {
  size_ = values.size();
  tree_.assign(size_ ? 4 * size_ : 1, Node{});
  if (size_ == 0) return;
  // Iterative build over an implicit tree: node k covers [lo, hi]; children 2k and 2k+1.
  struct Frame {
    size_t node, lo, hi;
    bool expanded;
  };
  std::vector<Frame> stack{{1, 0, size_ - 1, false}};
  while (!stack.empty()) {
    Frame f = stack.back();
    stack.pop_back();
    if (f.lo == f.hi) {
      int32_t v = values[f.lo];
      tree_[f.node] = {v, std::min(v, 0), std::min(v, 0)};
      continue;
    }
    size_t mid = (f.lo + f.hi) / 2;
    if (f.expanded) {
      tree_[f.node] = combine(tree_[2 * f.node], tree_[2 * f.node + 1]);
      continue;
    }
    stack.push_back({f.node, f.lo, f.hi, true});
    stack.push_back({2 * f.node, f.lo, mid, false});
    stack.push_back({2 * f.node + 1, mid + 1, f.hi, false});
  }
}

void BlockCounter::set(size_t index, int8_t value) {
  if (index >= size_) return;
  size_t node = 1, lo = 0, hi = size_ - 1;
  size_t path[64];
  size_t depth = 0;
  while (lo != hi) {
    path[depth++] = node;
    size_t mid = (lo + hi) / 2;
    if (index <= mid) {
      node = 2 * node;
      hi = mid;
    } else {
      node = 2 * node + 1;
      lo = mid + 1;
    }
  }
  int32_t v = value;
  tree_[node] = {v, std::min(v, 0), std::min(v, 0)};
  for (size_t k = depth; k-- > 0;)
    tree_[path[k]] = combine(tree_[2 * path[k]], tree_[2 * path[k] + 1]);
}

// Walks the nodes covering [from, size) from the left; `acc` is the sum of the values passed.
long BlockCounter::descendForward(size_t node, size_t lo, size_t hi, size_t from,
                                  int32_t& acc) const {
  if (hi < from) return -1;
  if (lo >= from && acc + tree_[node].minPrefix > -1) {
    acc += tree_[node].sum;
    return -1;
  }
  if (lo == hi) {
    acc += tree_[node].sum;
    return acc == -1 ? static_cast<long>(lo) : -1;
  }
  size_t mid = (lo + hi) / 2;
  long r = descendForward(2 * node, lo, mid, from, acc);
  if (r >= 0) return r;
  return descendForward(2 * node + 1, mid + 1, hi, from, acc);
}

long BlockCounter::descendBackward(size_t node, size_t lo, size_t hi, size_t to,
                                   int32_t& acc) const {
  if (lo > to) return -1;
  if (hi <= to && acc + tree_[node].minSuffix > -1) {
    acc += tree_[node].sum;
    return -1;
  }
  if (lo == hi) {
    acc += tree_[node].sum;
    return acc == -1 ? static_cast<long>(lo) : -1;
  }
  size_t mid = (lo + hi) / 2;
  long r = descendBackward(2 * node + 1, mid + 1, hi, to, acc);
  if (r >= 0) return r;
  return descendBackward(2 * node, lo, mid, to, acc);
}

long BlockCounter::findForward(size_t i) const {
  if (size_ == 0 || i + 1 >= size_) return -1;
  int32_t acc = 0;
  return descendForward(1, 0, size_ - 1, i + 1, acc);
}

long BlockCounter::findBackward(size_t i) const {
  if (size_ == 0 || i == 0) return -1;
  int32_t acc = 0;
  return descendBackward(1, 0, size_ - 1, std::min(i - 1, size_ - 1), acc);
}

int8_t BlockSearch::ifValue(const std::string& entry) {
  if (entry == "endif") return -1;
  return entry.find("if (") != std::string::npos ? 1 : 0;
}

int8_t BlockSearch::whileValue(const std::string& entry) {
  if (entry == "repeat") return -1;
  return entry.find("while") != std::string::npos ? 1 : 0;
}

void BlockSearch::assign(const std::vector<std::string>& entries) {
  std::vector<int8_t> ifs(entries.size()), whiles(entries.size());
  for (size_t k = 0; k < entries.size(); ++k) {
    ifs[k] = ifValue(entries[k]);
    whiles[k] = whileValue(entries[k]);
  }
  ifs_.assign(ifs);
  whiles_.assign(whiles);
}

void BlockSearch::update(size_t index, const std::string& entry) {
  ifs_.set(index, ifValue(entry));
  whiles_.set(index, whileValue(entry));
}

}  // namespace trel
