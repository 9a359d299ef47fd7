// Translates the input's lines as the editor text. The host cancels every dialog, so an error stop
// only leaves its message unseen. %import reads lib/ of the current directory: run the fuzzer from
// the project folder and the sample libraries take part.
#include "fuzz_input.h"
#include "machine/machine.h"
#include "machine/quiet_host.h"
#include "rtl/text.h"
#include "translator/translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trel::QuietHost host;
  trel::Machine machine(host, trel::sourceTranslator());
  machine.highlvl = trel::splitFileLines(trel::fuzz::inputText(data, size));
  try {
    trel::translate(machine);
    trel::lintTranslation(machine);
  } catch (const std::exception&) {
  }
  // Every code line knows where it came from.
  FUZZ_CHECK(machine.codeMap.locations.empty() ||
             machine.codeMap.locations.size() == machine.code.size());
  return 0;
}
