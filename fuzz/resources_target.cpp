// Reads the input as an executable file the way `qn unpack` and a standalone start do: the
// resource container, the string table entry of the program and its hexadecimal text. The string
// blocks it finds also go through the edit Build exe makes, which must read back what it wrote.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "resources/embedded_code.h"
#include "resources/resources.h"
#include "resources/string_table.h"
#include "rtl/text.h"

namespace {

std::string& inputFile() {
  static std::string path;
  return path;
}

void editStringBlocks(const std::vector<trel::Resource>& resources) {
  for (const trel::Resource& r : resources) {
    if (r.type != trel::kStringTableResource) continue;
    for (uint32_t index = 0; index < trel::kStringsPerBlock; ++index) {
      try {
        trel::readStringEntry(r.bytes, index);
        std::u16string text = trel::toUtf16("2F2F410D0A");
        std::string block = trel::replaceStringEntry(r.bytes, index, text);
        FUZZ_CHECK(trel::readStringEntry(block, index) == text);
      } catch (const trel::Error&) {
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string path = (std::filesystem::temp_directory_path() / "trel-fuzz-XXXXXX").string();
  int fd = mkstemp(path.data());
  if (fd < 0) trel::fuzz::broken("scratch file");
  close(fd);
  inputFile() = path;
  std::atexit([] { unlink(inputFile().c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes = trel::fuzz::inputText(data, size);
  trel::writeWholeFile(inputFile(), bytes);
  try {
    trel::ExecutableResources loaded = trel::loadExecutableResources(inputFile());
    FUZZ_CHECK(loaded.programSize <= size);
    editStringBlocks(loaded.resources);
    std::string entry = trel::loadString(loaded.resources, trel::kEmbeddedCodeString);
    std::string program;
    trel::decodeEmbeddedCode(entry, program);
    FUZZ_CHECK(program.size() <= entry.size());
    trel::splitAtLineBreaks(program);
  } catch (const trel::Error&) {
  }
  // The container alone, wherever the trailer claims it starts.
  trel::ResourceTrailer trailer;
  if (trel::readResourceTrailer(bytes, trailer) && trailer.containerStart <= size) {
    try {
      trel::decodeResourceContainer(bytes.substr(trailer.containerStart));
    } catch (const trel::Error&) {
    }
  }
  return 0;
}
