// qn build and qn unpack.
#include "app/qn/qn_commands.h"

namespace trel::qn {

int buildCommand(const Args&) { return usageError("build is not available yet"); }
int unpackCommand(const Args&) { return usageError("unpack is not available yet"); }

}  // namespace trel::qn
