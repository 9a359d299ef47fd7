// Colours the input's lines as the editor does. The spans of a line cover it in order, without
// gaps or overlaps.
#include <vector>

#include "editor/syntax_scanner.h"
#include "fuzz_input.h"
#include "rtl/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<trel::SyntaxSpan> spans;
  for (const std::string& line : trel::splitAtLineBreaks(trel::fuzz::inputText(data, size))) {
    spans.clear();
    trel::scanLine(line, spans);
    size_t at = 0;
    for (const trel::SyntaxSpan& span : spans) {
      FUZZ_CHECK(span.start == at && span.length > 0);
      at += span.length;
    }
    FUZZ_CHECK(at == line.size());
  }
  return 0;
}
