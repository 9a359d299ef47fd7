// A message tied to a place in the source, in the form compilers print and editors parse:
// FILE:LINE: error: MESSAGE, with :COL after the line when the column is known.
#pragma once

#include <cstdint>
#include <string>

#include "machine/source_map.h"

namespace trel {

struct Diagnostic {
  enum class Severity { Error, Warning };
  Severity severity = Severity::Error;
  std::string file;
  int32_t line = 0;    // from 1
  int32_t column = 0;  // from 1; 0 when unknown
  std::string message;

  std::string format() const;
};

// The diagnostic for line `location` of a program with map `map`.
Diagnostic diagnosticAt(const SourceMap& map, SourceLocation location, std::string message,
                        Diagnostic::Severity severity = Diagnostic::Severity::Error);

}  // namespace trel
