// Where each line of a low-level program came from: a source file and a line in it, counted from
// 1 as an editor's gutter counts. The translator makes the map of the code it writes; lines that a
// statement expands into all map to that statement's line, and lines a running program inserts
// (the class markers' labels) take the line of the marker that inserted them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trel {

struct SourceLocation {
  int32_t file = 0;  // index into SourceMap::files; 0 is the program's own source
  int32_t line = 0;  // from 1; 0 when unknown
  bool operator==(const SourceLocation&) const = default;
};

struct SourceMap {
  std::vector<std::string> files;         // file 0: the editor text or the file run
  std::vector<SourceLocation> locations;  // one per low-level line

  // A map for lines that are their own source: line i of `file` comes from line i + 1.
  static SourceMap identity(std::string file, size_t lineCount);
  // The file's name; empty when the index is unknown.
  const std::string& fileName(int32_t file) const;
};

}  // namespace trel
