// EXTS and EXTL: calls of functions in native libraries with RG1 to RG5 as arguments.
#include "machine/instructions.h"

namespace trel {

Outcome runExtS(Machine&, RunFrame&) { return Outcome::Continue; }
Outcome runExtL(Machine&, RunFrame&) { return Outcome::Continue; }

}  // namespace trel
