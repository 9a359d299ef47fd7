// Runs the input's lines as low-level code under a step and a memory limit. Lines that would reach
// outside the process (native libraries, files, nested runs of source files, the open dialog) are
// dropped before the run; the run also happens in a scratch folder of its own, so that a line a
// program makes for itself cannot write into the project.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "machine/machine.h"
#include "rtl/text.h"
#include "silent_host.h"
#include "translator/translator.h"

namespace {

// A formula that loops counts one step per 16,384 bytes of its code run, so the limit also bounds
// a step's own work: at 2,000 steps such a formula ends within a second under the
// sanitizers, while loops of ordinary lines still go round hundreds of times.
constexpr uint64_t kMaxSteps = 2000;
constexpr uint64_t kMaxMemory = uint64_t{64} << 20;
constexpr std::string_view kOutsideKeywords[] = {"EXTS", "EXTL", "__NATIVE@@", "%OUTF", "__OPEN@@"};

bool reachesOutside(const std::string& line) {
  std::string upper = trel::upperCase(line);
  for (std::string_view keyword : kOutsideKeywords)
    if (upper.find(keyword) != std::string::npos) return true;
  return false;
}

std::string& scratchFolder() {
  static std::string path;
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string& scratch = scratchFolder();
  scratch = (std::filesystem::temp_directory_path() / "trel-fuzz-XXXXXX").string();
  if (!mkdtemp(scratch.data()) || chdir(scratch.c_str()) != 0) trel::fuzz::broken("scratch folder");
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(scratchFolder(), ec);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trel::fuzz::SilentHost host;
  trel::Machine machine(host, trel::sourceTranslator());
  machine.maxSteps = kMaxSteps;
  machine.maxMemory = kMaxMemory;
  machine.code.clear();
  for (std::string& line : trel::splitFileLines(trel::fuzz::inputText(data, size)))
    if (!reachesOutside(line)) machine.code.push_back(std::move(line));
  try {
    machine.compile(trel::RunMode::Program);
  } catch (const std::exception&) {
  }
  return 0;
}
