// The endif and repeat searches of the translator, answered in logarithmic time.
//
// Each entry of the working list counts +1, -1 or 0 for a search: for the endif search an entry
// holding "if (" anywhere opens a block (+1) and an entry that is exactly "endif" closes one (-1);
// for the repeat search an entry holding "while" counts +1 and an exact "repeat" -1. A search from
// entry i finds the nearest entry (below i for endif, above i for repeat) at which the running sum
// first reaches -1. A tree of partial sums with their lowest prefix and suffix finds that entry
// without walking the entries in between, so unbalanced blocks in a long source stay cheap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trel {

class BlockCounter {
 public:
  void assign(const std::vector<int8_t>& values);
  void set(size_t index, int8_t value);
  // The smallest j > i with values[i+1] + ... + values[j] == -1, or -1.
  long findForward(size_t i) const;
  // The largest j < i with values[j] + ... + values[i-1] == -1, or -1.
  long findBackward(size_t i) const;

 private:
  struct Node {
    int32_t sum = 0, minPrefix = 0, minSuffix = 0;
  };
  static Node combine(const Node& a, const Node& b);
  long descendForward(size_t node, size_t lo, size_t hi, size_t from, int32_t& acc) const;
  long descendBackward(size_t node, size_t lo, size_t hi, size_t to, int32_t& acc) const;

  size_t size_ = 0;
  std::vector<Node> tree_;
};

// Both searches over one working list.
class BlockSearch {
 public:
  static int8_t ifValue(const std::string& entry);
  static int8_t whileValue(const std::string& entry);

  void assign(const std::vector<std::string>& entries);
  void update(size_t index, const std::string& entry);
  long findEndif(size_t from) const { return ifs_.findForward(from); }
  long findRepeat(size_t from) const { return whiles_.findBackward(from); }

 private:
  BlockCounter ifs_, whiles_;
};

}  // namespace trel
