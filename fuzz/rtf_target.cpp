// Reads the input as a help file. The reader never fails and its runs hold valid UTF-8.
#include "fuzz_input.h"
#include "help/rtf_reader.h"

namespace {

// Lead bytes and the right number of continuation bytes; overlong forms are not looked for.
bool validUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    auto lead = static_cast<unsigned char>(s[i]);
    size_t extra = lead < 0x80             ? 0
                   : (lead & 0xE0) == 0xC0 ? 1
                   : (lead & 0xF0) == 0xE0 ? 2
                   : (lead & 0xF8) == 0xF0 ? 3
                                           : 4;
    if (extra > 3) return false;
    for (size_t k = 1; k <= extra; ++k)
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  trel::RtfDocument document = trel::readRtf(trel::fuzz::inputText(data, size));
  for (const trel::RtfParagraph& paragraph : document.paragraphs)
    for (const trel::RtfRun& run : paragraph.runs) FUZZ_CHECK(validUtf8(run.text));
  return 0;
}
