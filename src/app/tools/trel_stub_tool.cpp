// trel-stub-tool EXECUTABLE: gives a freshly linked trel the resources of the runtime stub (the
// placeholder entry and the program icon), so that a copy of it is ready for Build exe.
#include <cstdio>
#include <exception>

#include "resources/stub_resources.h"
#include "rtl/errors.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: trel-stub-tool EXECUTABLE\n", stderr);
    return 2;
  }
  try {
    trel::addStubResources(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "trel-stub-tool: %s\n", trel::errorText(e).c_str());
    return 1;
  }
  return 0;
}
