#include "lsp/message_framing.h"

#include <charconv>

#include "rtl/text.h"

namespace trel::lsp {

namespace {

// Reads one header line without its CR LF (a lone LF is taken as well); false at the end of input.
bool readHeaderLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

Frame readFrame(std::istream& in) {
  std::optional<size_t> length;
  bool badLength = false;
  std::string line;
  bool sawHeader = false;
  while (true) {
    if (!readHeaderLine(in, line)) return {};
    if (line.empty()) {
      if (!sawHeader) continue;  // blank lines between messages
      break;
    }
    sawHeader = true;
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
      badLength = true;
      continue;
    }
    if (!startsWithNoCase(line, "content-length") || colon != 14) continue;
    std::string value = trim(std::string_view(line).substr(colon + 1));
    size_t n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || value.empty())
      badLength = true;
    else
      length = n;
  }
  if (badLength || !length) return {Frame::Kind::BadHeader, {}};
  if (*length > kMaxMessageBytes) {
    in.ignore(static_cast<std::streamsize>(*length));
    return {in ? Frame::Kind::TooLarge : Frame::Kind::End, {}};
  }
  std::string body(*length, '\0');
  in.read(body.data(), static_cast<std::streamsize>(*length));
  if (static_cast<size_t>(in.gcount()) != *length) return {};
  return {Frame::Kind::Message, std::move(body)};
}

void writeFrame(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

}  // namespace trel::lsp
