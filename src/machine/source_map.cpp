#include "machine/source_map.h"

namespace trel {

SourceMap SourceMap::identity(std::string file, size_t lineCount) {
  SourceMap map;
  map.files.push_back(std::move(file));
  map.locations.resize(lineCount);
  for (size_t i = 0; i < lineCount; ++i) map.locations[i] = {0, static_cast<int32_t>(i + 1)};
  return map;
}

const std::string& SourceMap::fileName(int32_t file) const {
  static const std::string none;
  if (file < 0 || static_cast<size_t>(file) >= files.size()) return none;
  return files[static_cast<size_t>(file)];
}

}  // namespace trel
