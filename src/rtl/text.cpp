#include "rtl/text.h"

#include "rtl/replacement_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>

#include <unistd.h>

#include "rtl/errors.h"

namespace trel {

std::string_view trimLeftView(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && isBlankOrControl(s[i])) ++i;
  return s.substr(i);
}

std::string_view trimRightView(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && isBlankOrControl(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string_view trimView(std::string_view s) {
  return trimRightView(trimLeftView(s));
}

std::string upperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

std::string lowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (upperChar(s[i]) != upperChar(prefix[i])) return false;
  return true;
}

bool contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

std::string_view dropFront(std::string_view s, size_t n) {
  // Always a part of s (an empty one at its end), so callers may take its offset within s.
  return s.substr(n < s.size() ? n : s.size());
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string r;
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(from, pos);
    if (hit == std::string_view::npos) break;
    r.append(s.substr(pos, hit - pos));
    r.append(to);
    pos = hit + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

std::string replaceFirstNoCase(std::string_view s, std::string_view from, std::string_view to) {
  std::string upperS = upperCase(s);
  size_t hit = upperS.find(upperCase(from));
  if (from.empty() || hit == std::string::npos) return std::string(s);
  std::string r(s.substr(0, hit));
  r.append(to);
  r.append(s.substr(hit + from.size()));
  return r;
}

std::vector<std::string> splitAtLineBreaks(std::string_view text, std::vector<size_t>* starts) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    if (starts) starts->push_back(start);
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (starts) starts->push_back(start);
  lines.emplace_back(text.substr(start));
  return lines;
}

namespace {

bool isBreak(char c) {
  return c == '\r' || c == '\n';
}

bool holdsBreak(const std::string& line) {
  return std::memchr(line.data(), '\r', line.size()) || std::memchr(line.data(), '\n', line.size());
}

}  // namespace

void resplitAtLineBreaks(std::vector<std::string>& lines, std::string_view text) {
  // The lines kept at the start: each is followed by a break, so it is one of the new lines
  // and not the last. `from` is where the first line not kept begins.
  size_t kept = 0, from = 0;
  while (kept < lines.size()) {
    const std::string& line = lines[kept];
    const size_t end = from + line.size();
    if (end >= text.size() || !isBreak(text[end]) || text.compare(from, line.size(), line) != 0 ||
        holdsBreak(line))
      break;
    from = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    ++kept;
  }
  // The lines kept at the end, walking back: each begins after a break, at `from` or later, so
  // it is one of the new lines after those kept at the start. `to` is where the break before
  // the first of them begins (the text's end when there is none; before `from` when that break
  // ends the lines kept at the start).
  size_t keptAtEnd = 0, to = text.size();
  while (kept + keptAtEnd < lines.size()) {
    const std::string& line = lines[lines.size() - 1 - keptAtEnd];
    if (line.size() > to) break;
    const size_t begin = to - line.size();
    if (begin == 0 || begin < from || !isBreak(text[begin - 1]) ||
        text.compare(begin, line.size(), line) != 0 || holdsBreak(line))
      break;
    to = begin - 1;
    if (text[to] == '\n' && to > from && text[to - 1] == '\r') --to;
    ++keptAtEnd;
  }
  // The lines between, written over the old lines between (whose memory they reuse) as far as
  // those go: none when the lines kept at the end follow straight on.
  auto at = lines.begin() + static_cast<std::ptrdiff_t>(kept);
  const auto oldEnd = lines.end() - static_cast<std::ptrdiff_t>(keptAtEnd);
  std::vector<std::string> more;
  for (size_t i = from, start = from; to >= from; ++i) {
    if (i < to && !isBreak(text[i])) continue;
    const std::string_view line = text.substr(start, i - start);
    if (at != oldEnd)
      (at++)->assign(line);
    else
      more.emplace_back(line);
    if (i == to) break;
    if (text[i] == '\r' && i + 1 < to && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (more.empty())
    lines.erase(at, oldEnd);
  else
    lines.insert(at, std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

std::vector<std::string> splitFileLines(std::string_view text) {
  if (text.empty()) return {};
  std::vector<std::string> lines = splitAtLineBreaks(text);
  char last = text.back();
  if (last == '\r' || last == '\n') lines.pop_back();
  return lines;
}

std::string joinCrLf(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  std::string r;
  r.reserve(total);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) r.append("\r\n");
    r.append(lines[i]);
  }
  return r;
}

std::string readWholeFile(const std::string& path) {
  // A folder opens as a stream that reads nothing; say what it is instead of giving empty text.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw Error("Cannot open file \"" + path + "\". " + std::strerror(EISDIR));
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    int err = errno;
    throw Error("Cannot open file \"" + path + "\". " + std::strerror(err ? err : ENOENT));
  }
  // Read in blocks up to the cap: a device or a pipe has no size to ask for beforehand.
  std::string text;
  char block[1 << 16];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, f)) > 0) {
    if (text.size() + got > kMaxReadBytes) {
      std::fclose(f);
      throw Error("Cannot read file \"" + path + "\": it is larger than " +
                  std::to_string(kMaxReadBytes >> 20) + " MB");
    }
    text.append(block, got);
  }
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw Error("Cannot read file \"" + path + "\".");
  return text;
}

namespace {

void writeAll(std::FILE* f, std::string_view content, const std::string& path) {
  if (!content.empty() && std::fwrite(content.data(), 1, content.size(), f) != content.size()) {
    int err = errno;
    std::fclose(f);
    throw Error("Cannot write file \"" + path + "\". " + std::strerror(err));
  }
}

}  // namespace

void writeWholeFile(const std::string& path, std::string_view content) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    int err = errno;
    throw Error("Cannot create file \"" + path + "\". " + std::strerror(err));
  }
  writeAll(f, content, path);
  if (std::fclose(f) != 0) {
    int err = errno;
    throw Error("Cannot write file \"" + path + "\". " + std::strerror(err));
  }
}

void writeFileAtomically(const std::string& path, std::string_view content) {
  const std::string target = replacementTarget(path);
  ReplacementFile file(target, replacementMode(target));
  file.append(content);
  file.commit();
}

}  // namespace trel
