// qn eval.
#include "app/qn/qn_commands.h"

namespace trel::qn {

int evalCommand(const Args&) { return usageError("eval is not available yet"); }

}  // namespace trel::qn
