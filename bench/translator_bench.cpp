// Translation time of generated sources: 20-line units, each with two if blocks and two loops
// (a loop holding an if holding a loop, three deep, then a plain if block). 1,000 units make the
// 20,000-line source with 2,000 if blocks and 2,000 loops; doubling the units shows how the time
// grows with the number of lines. A last case has only unclosed blocks and loops.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "rtl/random.h"
#include "shell/terminal_host.h"
#include "translator/translator.h"

namespace {

std::vector<std::string> blockSource(int units) {
  std::vector<std::string> lines;
  for (int u = 0; u < units; ++u) {
    lines.insert(lines.end(), {"repeat",
                               "  if (a = 1)",
                               "    repeat",
                               "      x:=1",
                               "      x+1",
                               "      %ECHO x",
                               "    while (x < 3)",
                               "  endif",
                               "  y:=2",
                               "while (y < 4)",
                               "if (k > 5)",
                               "  z:=1",
                               "  z+2",
                               "  %ECHO z",
                               "  formula (z*2);",
                               "  call show(z,,,,)",
                               "endif",
                               "var w",
                               "w:=3",
                               "w+1"});
  }
  return lines;
}

std::vector<std::string> unclosedSource(int lines) {
  std::vector<std::string> out;
  for (int i = 0; i < lines; ++i) out.push_back(i % 2 ? "while (a < 1)" : "if (a = 1)");
  return out;
}

double translateSeconds(const std::vector<std::string>& source, int rounds) {
  double best = 1e30;
  for (int r = 0; r < rounds; ++r) {
    trel::TerminalHost host;
    trel::Machine m(host, trel::sourceTranslator());
    m.highlvl = source;
    auto start = std::chrono::steady_clock::now();
    trel::translate(m);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (s < best) best = s;
  }
  return best;
}

}  // namespace

int main() {
  trel::seedRandom(1);
  std::printf("Translation of generated sources (best of 5 rounds)\n");
  double baseRate = 0;
  for (int units : {1000, 2000, 4000, 8000}) {
    std::vector<std::string> source = blockSource(units);
    double s = translateSeconds(source, 5);
    double perLine = s / source.size();
    if (baseRate == 0) baseRate = perLine;
    std::printf(
        "  %7zu lines, %5d if blocks, %5d loops: %8.1f ms  (%.2f x the time per line of the "
        "first)\n",
        source.size(), 2 * units, 2 * units, s * 1e3, perLine / baseRate);
  }
  std::vector<std::string> unclosed = unclosedSource(100000);
  std::printf("  100000 lines of unclosed blocks and loops: %8.1f ms\n",
              translateSeconds(unclosed, 3) * 1e3);
  return 0;
}
