// What the machine needs of the translator: a nested run of a source file (__NATIVE@@) rewrites
// the new editor text into low-level code before it runs it. The translator implements this; the
// machine is handed one and never links the translator itself.
#pragma once

namespace trel {

class Machine;

class SourceTranslator {
 public:
  virtual ~SourceTranslator() = default;
  // Rewrites the machine's editor lines (highlvl) into its low-level code (code).
  virtual void translate(Machine& machine) const = 0;
};

}  // namespace trel
