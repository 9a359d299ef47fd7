// Export: the translated program written to exported/ as a library file under a random name.
#include <filesystem>
#include <system_error>

#include "rtl/integer_text.h"
#include "rtl/random.h"
#include "rtl/text.h"
#include "shell/commands.h"
#include "translator/translator.h"

namespace trel {

void Button7Click(Machine& m) {
  translate(m);
  std::string name =
      "exported/" + hexText(static_cast<uint32_t>(randomInt(16777215)), 10) + ".qnlib";
  std::error_code ec;
  std::filesystem::create_directories("exported", ec);
  writeWholeFile(name, m.codeText());
  m.host.showMessage("Exported to: " + name +
                     "\r\nRemember to remove entry point and imported libs!");
}

}  // namespace trel
