// Runs the input's lines as low-level code under a step and a memory limit. Lines that would reach
// outside the process (native libraries, files, nested runs of source files, the open dialog) are
// dropped before the run; the run also happens in a scratch folder of its own, so that a line a
// program makes for itself cannot write into the project. Each input runs twice, with and without
// the interpreter's decoded lines, and the two runs must show the same.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "machine/machine.h"
#include "machine/quiet_host.h"
#include "rtl/random.h"
#include "rtl/text.h"
#include "translator/translator.h"

namespace {

// A formula that loops counts one step per 16,384 bytes of its code run, so the limit also bounds
// a step's own work: at 1,000 steps such a formula ends within half a second under the
// sanitizers (each input runs twice), while loops of ordinary lines still go round hundreds of
// times.
constexpr uint64_t kMaxSteps = 1000;
constexpr uint64_t kMaxMemory = uint64_t{64} << 20;
constexpr std::string_view kOutsideKeywords[] = {"EXTS", "EXTL", "__NATIVE@@", "%OUTF", "__OPEN@@"};

bool reachesOutside(const std::string& line) {
  std::string upper = trel::upperCase(line);
  for (std::string_view keyword : kOutsideKeywords)
    if (upper.find(keyword) != std::string::npos) return true;
  return false;
}

// A step of __INHERIT@@ visits every named slot of the table, up to 9,256, so a loop of it that has
// filled the table costs seconds under the sanitizers within the step limit. Each step is charged
// one more step per 256 names in the table: such loops end within the fuzzer's time limit, while
// programs with few names keep their steps.
class ChargingHost : public trel::QuietHost {
 public:
  static constexpr size_t kNamesPerStep = 256;
  trel::Machine* machine = nullptr;
  void processEvents() override {
    if (machine) machine->stepsTaken += machine->table.namedSlots().size() / kNamesPerStep;
  }
};

// Made and entered on the first input, not at start-up: libFuzzer's parent process, which starts
// the jobs and keeps their logs in its current folder, never runs an input.
void enterScratchFolder() {
  static std::string path;
  if (!path.empty()) return;
  path = (std::filesystem::temp_directory_path() / "trel-fuzz-XXXXXX").string();
  if (!mkdtemp(path.data()) || chdir(path.c_str()) != 0) trel::fuzz::broken("scratch folder");
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  });
}

// What a run leaves behind that anyone can see: its error, log, console, trace memo, caption,
// program counter and every slot of the table.
struct RunResult {
  std::string error;
  std::vector<std::string> log, console, outp;
  std::string label6;
  int32_t pc = 0;
  std::vector<std::pair<std::string, std::string>> slots;
  bool operator==(const RunResult&) const = default;
};

RunResult runOnce(const std::vector<std::string>& code, bool decodedSteps) {
  trel::seedRandom(1);
  ChargingHost host;
  trel::Machine machine(host, trel::sourceTranslator());
  host.machine = &machine;
  machine.maxSteps = kMaxSteps;
  machine.maxMemory = kMaxMemory;
  machine.decodedSteps = decodedSteps;
  machine.code = code;
  RunResult r;
  try {
    machine.compile(trel::RunMode::Program);
  } catch (const std::exception& e) {
    r.error = e.what();
  }
  r.log = machine.debug.lines();
  r.console = machine.console.lines();
  r.outp = machine.outp;
  r.label6 = machine.Label6();
  r.pc = machine.pc;
  for (int slot = 0; slot < trel::VariableTable::kSlotCount; ++slot)
    r.slots.emplace_back(machine.table.nameAt(slot), machine.table.valueAt(slot));
  return r;
}

}  // namespace

// The program runs twice: with the interpreter's decoded lines and with every step through the
// instruction handlers. The two must agree in everything a run shows (a program that reads the
// clock may differ, so it runs once).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  enterScratchFolder();
  std::vector<std::string> code;
  for (std::string& line : trel::splitFileLines(trel::fuzz::inputText(data, size)))
    if (!reachesOutside(line)) code.push_back(std::move(line));
  RunResult decoded = runOnce(code, true);
  if (trel::upperCase(trel::fuzz::inputText(data, size)).find("NOW") != std::string::npos) return 0;
  FUZZ_CHECK(decoded == runOnce(code, false));
  return 0;
}
