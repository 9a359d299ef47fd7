#include "lsp/message_framing.h"

#include <charconv>

#include "rtl/text.h"

namespace trel::lsp {

namespace {

constexpr std::string_view kContentLength = "Content-Length";
// A header line longer than this is malformed; the rest of it is read past, never stored.
constexpr size_t kMaxHeaderLineBytes = 4096;

enum class HeaderLine { Read, TooLong, End };

// Reads one header line without its CR LF (a lone LF ends one as well).
HeaderLine readHeaderLine(std::istream& in, std::string& line) {
  line.clear();
  bool tooLong = false;
  for (int c = in.get(); c != '\n'; c = in.get()) {
    if (c == std::char_traits<char>::eof()) return HeaderLine::End;
    if (line.size() < kMaxHeaderLineBytes)
      line.push_back(static_cast<char>(c));
    else
      tooLong = true;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return tooLong ? HeaderLine::TooLong : HeaderLine::Read;
}

}  // namespace

Frame readFrame(std::istream& in) {
  std::optional<size_t> length;
  bool bad = false;
  bool sawHeader = false;
  std::string line;
  while (true) {
    HeaderLine read = readHeaderLine(in, line);
    if (read == HeaderLine::End) return {};
    if (line.empty() && read == HeaderLine::Read) {
      if (!sawHeader) continue;  // blank lines between messages
      break;
    }
    sawHeader = true;
    size_t colon = line.find(':');
    if (read == HeaderLine::TooLong || colon == std::string::npos) {
      bad = true;
      continue;
    }
    if (colon != kContentLength.size() || !startsWithNoCase(line, kContentLength)) continue;
    std::string value = trim(std::string_view(line).substr(colon + 1));
    size_t n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || value.empty())
      bad = true;
    else
      length = n;
  }
  if (bad || !length) return {Frame::Kind::BadHeader, {}};
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
