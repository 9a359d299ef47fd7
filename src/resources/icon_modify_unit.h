// TIconModifier: gives one executable an icon image of another.
#pragma once

#include <string>

namespace trel {

class TIconModifier {
 public:
  void SetSourceFile(const std::string& fileName) { sourceFile_ = fileName; }
  void SetDestFile(const std::string& fileName) { destFile_ = fileName; }

  // Copies icon image `sourceIndex` + 1 of the source file, its bytes as they are, to icon image
  // `destIndex` + 1 of the destination file in the neutral language (beside the destination's own
  // image of that number, which stays). True when it was written; false for any failure (no such
  // image, a file that does not load, a read-only destination, a negative index), and then the
  // destination is unchanged.
  bool ChangeIcon(int sourceIndex, int destIndex);

 private:
  std::string sourceFile_;
  std::string destFile_;
};

}  // namespace trel
