// The base protocol of the language server: each message is a header block ("Content-Length: N",
// other fields ignored, each line ended by CR LF, an empty line after the last) followed by N
// bytes of JSON.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace trel::lsp {

// Bodies larger than this are read past and refused, never held in memory.
inline constexpr size_t kMaxMessageBytes = 64u << 20;

struct Frame {
  enum class Kind { Message, BadHeader, TooLarge, End };
  Kind kind = Kind::End;
  std::string body;  // the JSON text of a Message
};

// Reads the next frame. A header block without a valid Content-Length (or with a line too long
// for a header) gives BadHeader and the reader is placed after that block, so the next frame can
// be read; the end of input (also in the middle of a frame) gives End.
Frame readFrame(std::istream& in);

void writeFrame(std::ostream& out, std::string_view body);

}  // namespace trel::lsp
