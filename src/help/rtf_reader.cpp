#include "help/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace trel {

namespace {

// Windows-1252 code points of the bytes 0x80 to 0x9F; the other bytes map to themselves.
constexpr std::array<uint16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Groups nested deeper than this are read as if flat (a damaged file must not eat memory).
constexpr size_t kMaxDepth = 512;

constexpr uint32_t kReplacement = 0xFFFD;

bool isHighSurrogate(uint32_t cp) {
  return cp >= 0xD800 && cp <= 0xDBFF;
}
bool isLowSurrogate(uint32_t cp) {
  return cp >= 0xDC00 && cp <= 0xDFFF;
}

// Surrogates and values beyond U+10FFFF have no UTF-8 form: they become the replacement character.
void appendUtf8(std::string& out, uint32_t cp) {
  if (cp > 0x10FFFF || isHighSurrogate(cp) || isLowSurrogate(cp)) cp = kReplacement;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

uint32_t cp1252(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Strict UTF-8: shortest forms only, no surrogates, nothing beyond U+10FFFF.
bool validUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = c < 0x80                 ? 0
                   : c >= 0xC2 && c <= 0xDF ? 1
                   : (c & 0xF0) == 0xE0     ? 2
                   : c >= 0xF0 && c <= 0xF4 ? 3
                                            : 4;
    if (extra == 4 || s.size() - i <= extra) return false;
    uint32_t cp = extra == 0 ? c : c & (0x3Fu >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = cp << 6 | (t & 0x3Fu);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        isHighSurrogate(cp) || isLowSurrogate(cp))
      return false;
    i += extra + 1;
  }
  return true;
}

enum class Destination { Text, FontTable, ColourTable, Skip };

struct GroupState {
  RtfRun look;  // text is unused here
  int font = -1;
  Destination destination = Destination::Text;
  int unicodeSkip = 1;
};

struct Font {
  int number;
  bool fixedPitch;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  RtfDocument read() {
    doc_.richText = true;
    doc_.paragraphs.emplace_back();
    while (pos_ < in_.size()) step();
    flushSurrogate();
    // A last paragraph left open (no final \par) still counts when it holds text.
    if (doc_.paragraphs.size() > 1 && doc_.paragraphs.back().runs.empty())
      doc_.paragraphs.pop_back();
    return std::move(doc_);
  }

 private:
  GroupState& state() { return stack_.back(); }

  void step() {
    char c = in_[pos_++];
    switch (c) {
      case '{':
        if (stack_.size() < kMaxDepth)
          stack_.push_back(stack_.back());
        else
          ++flattened_;
        return;
      case '}':
        skipPending_ = 0;  // the characters standing in for a \u belong to its group
        if (flattened_ > 0)
          --flattened_;
        else if (stack_.size() > 1)
          leaveGroup();
        return;
      case '\\':
        controlSequence();
        return;
      case '\r':
      case '\n':
        return;
      default:
        character(static_cast<unsigned char>(c));
    }
  }

  void leaveGroup() {
    if (state().destination == Destination::FontTable && pendingFont_ >= 0) finishFont();
    stack_.pop_back();
  }

  void character(unsigned char c) {
    GroupState& s = state();
    if (s.destination == Destination::Text) {
      if (skipPending_ > 0) {
        --skipPending_;
        return;
      }
      appendCodePoint(cp1252(c));
    } else if (s.destination == Destination::ColourTable) {
      if (c == ';') {
        colours_.push_back(haveColour_ ? std::optional<uint32_t>(colour_) : std::nullopt);
        colour_ = 0;
        haveColour_ = false;
      }
    } else if (s.destination == Destination::FontTable) {
      if (c == ';') {
        finishFont();
      } else if (pendingFont_ >= 0) {
        fontName_ += static_cast<char>(c);
      }
    }
  }

  // A high surrogate waits for the low one that completes it; alone it is a replacement.
  void appendCodePoint(uint32_t cp) {
    if (highSurrogate_ != 0 && isLowSurrogate(cp)) {
      cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
      highSurrogate_ = 0;
    } else {
      flushSurrogate();
      if (isHighSurrogate(cp)) {
        highSurrogate_ = cp;
        return;
      }
    }
    RtfParagraph& p = doc_.paragraphs.back();
    RtfRun look = state().look;
    look.fixedPitch = fontIsFixed(state().font);
    if (p.runs.empty() || !p.runs.back().sameLook(look)) {
      look.text.clear();
      p.runs.push_back(look);
    }
    appendUtf8(p.runs.back().text, cp);
  }

  void flushSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    appendCodePoint(kReplacement);
  }

  bool fontIsFixed(int number) const {
    for (const Font& f : fonts_)
      if (f.number == number) return f.fixedPitch;
    return false;
  }

  void finishFont() {
    if (pendingFont_ < 0) return;
    bool fixed = pendingFixed_;
    for (const char* hint : {"courier", "mono", "consol", "fixedsys", "terminal"}) {
      std::string lower;
      for (char ch : fontName_)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (lower.find(hint) != std::string::npos) fixed = true;
    }
    fonts_.push_back({pendingFont_, fixed});
    pendingFont_ = -1;
    pendingFixed_ = false;
    fontName_.clear();
  }

  void newParagraph() {
    flushSurrogate();
    RtfParagraph next;
    const RtfParagraph& cur = doc_.paragraphs.back();
    next.alignment = cur.alignment;
    next.leftIndent = cur.leftIndent;
    next.spaceBefore = cur.spaceBefore;
    next.spaceAfter = cur.spaceAfter;
    doc_.paragraphs.push_back(std::move(next));
  }

  void controlSequence() {
    if (pos_ >= in_.size()) return;
    char c = in_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++pos_;
      controlSymbol(c);
      return;
    }
    size_t start = pos_;
    while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])) &&
           pos_ - start < 32)
      ++pos_;
    std::string_view word = in_.substr(start, pos_ - start);
    bool hasParam = false;
    long param = 0;
    bool negative = false;
    if (pos_ < in_.size() && in_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    size_t digits = 0;
    while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
      if (digits++ < 9) param = param * 10 + (in_[pos_] - '0');
      hasParam = true;
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    controlWord(word, hasParam, static_cast<int>(param));
  }

  void controlSymbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}':
        character(static_cast<unsigned char>(c));
        break;
      case '~':
        textOnly(0x00A0);
        break;
      case '_':
        textOnly(0x2011);
        break;
      case '\'': {
        // Two hexadecimal digits make the byte; without them the escape shows nothing and what
        // follows is read as usual.
        if (in_.size() - pos_ < 2) return;
        int high = hexDigit(in_[pos_]), low = hexDigit(in_[pos_ + 1]);
        if (high < 0 || low < 0) return;
        pos_ += 2;
        character(static_cast<unsigned char>(high << 4 | low));
        break;
      }
      case '*':
        state().destination = Destination::Skip;
        break;
      case '\r':
      case '\n':
        controlWord("par", false, 0);
        break;
      default:
        break;  // \- (optional hyphen), \| and others show nothing
    }
  }

  void textOnly(uint32_t cp) {
    if (state().destination != Destination::Text) return;
    if (skipPending_ > 0) {
      --skipPending_;
      return;
    }
    appendCodePoint(cp);
  }

  void controlWord(std::string_view w, bool hasParam, int param) {
    GroupState& s = state();
    RtfRun& look = s.look;
    bool on = !hasParam || param != 0;
    if (skipPending_ > 0 && s.destination == Destination::Text) {
      --skipPending_;  // a control word may stand in for the character a \u replaced
      return;
    }
    if (s.destination == Destination::ColourTable) {
      if (w == "red") colour_ = (colour_ & 0x00FFFF) | (static_cast<uint32_t>(param & 0xFF) << 16);
      if (w == "green") colour_ = (colour_ & 0xFF00FF) | (static_cast<uint32_t>(param & 0xFF) << 8);
      if (w == "blue") colour_ = (colour_ & 0xFFFF00) | static_cast<uint32_t>(param & 0xFF);
      if (w == "red" || w == "green" || w == "blue") haveColour_ = true;
      return;
    }
    if (s.destination == Destination::FontTable) {
      if (w == "f") {
        finishFont();
        pendingFont_ = param;
      } else if (w == "fmodern") {
        pendingFixed_ = true;
      } else if (w == "fprq" && param == 1) {
        pendingFixed_ = true;
      }
      return;
    }
    if (s.destination == Destination::Skip) return;

    if (w == "fonttbl")
      s.destination = Destination::FontTable;
    else if (w == "colortbl")
      s.destination = Destination::ColourTable;
    else if (w == "stylesheet" || w == "info" || w == "pict" || w == "header" || w == "footer" ||
             w == "headerl" || w == "headerr" || w == "footerl" || w == "footerr" ||
             w == "fldinst" || w == "object" || w == "listtable" || w == "listoverridetable" ||
             w == "generator" || w == "xmlnstbl" || w == "themedata" || w == "datastore")
      s.destination = Destination::Skip;
    else if (w == "par" || w == "sect")
      newParagraph();
    else if (w == "line")
      textOnly('\n');
    else if (w == "tab")
      textOnly('\t');
    else if (w == "emdash")
      textOnly(0x2014);
    else if (w == "endash")
      textOnly(0x2013);
    else if (w == "bullet")
      textOnly(0x2022);
    else if (w == "lquote")
      textOnly(0x2018);
    else if (w == "rquote")
      textOnly(0x2019);
    else if (w == "ldblquote")
      textOnly(0x201C);
    else if (w == "rdblquote")
      textOnly(0x201D);
    else if (w == "u" && hasParam) {
      // A signed 16-bit unit; anything else is no character.
      textOnly(param < -32768 || param > 0xFFFF
                   ? kReplacement
                   : static_cast<uint32_t>(param < 0 ? param + 65536 : param));
      skipPending_ = s.unicodeSkip;
    } else if (w == "uc")
      s.unicodeSkip = hasParam ? std::max(0, param) : 1;
    else if (w == "b")
      look.bold = on;
    else if (w == "i")
      look.italic = on;
    else if (w == "ul")
      look.underline = on;
    else if (w == "ulnone")
      look.underline = false;
    else if (w == "cf")
      look.colour = colourAt(param);
    else if (w == "fs" && hasParam && param > 0)
      look.halfPoints = std::min(param, 400);
    else if (w == "f")
      s.font = param;
    else if (w == "plain") {
      look = RtfRun();
      s.font = -1;
    } else if (w == "pard") {
      RtfParagraph& p = doc_.paragraphs.back();
      p.alignment = RtfAlignment::Left;
      p.leftIndent = p.spaceBefore = p.spaceAfter = 0;
    } else if (w == "ql")
      doc_.paragraphs.back().alignment = RtfAlignment::Left;
    else if (w == "qc")
      doc_.paragraphs.back().alignment = RtfAlignment::Centre;
    else if (w == "qr")
      doc_.paragraphs.back().alignment = RtfAlignment::Right;
    else if (w == "qj")
      doc_.paragraphs.back().alignment = RtfAlignment::Justify;
    else if (w == "li")
      doc_.paragraphs.back().leftIndent = std::clamp(param, 0, 20000);
    else if (w == "sb")
      doc_.paragraphs.back().spaceBefore = std::clamp(param, 0, 20000);
    else if (w == "sa")
      doc_.paragraphs.back().spaceAfter = std::clamp(param, 0, 20000);
  }

  std::optional<uint32_t> colourAt(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= colours_.size()) return std::nullopt;
    return colours_[static_cast<size_t>(index)];
  }

  std::string_view in_;
  size_t pos_ = 0;
  RtfDocument doc_;
  std::vector<GroupState> stack_{GroupState{}};
  size_t flattened_ = 0;
  int skipPending_ = 0;
  uint32_t highSurrogate_ = 0;
  std::vector<std::optional<uint32_t>> colours_;
  uint32_t colour_ = 0;
  bool haveColour_ = false;
  std::vector<Font> fonts_;
  int pendingFont_ = -1;
  bool pendingFixed_ = false;
  std::string fontName_;
};

// Not rich text: every line is a paragraph; text that is not UTF-8 is read as Windows-1252.
RtfDocument plainDocument(std::string_view in) {
  RtfDocument doc;
  bool utf8 = validUtf8(in);
  size_t start = 0;
  while (start <= in.size()) {
    size_t end = in.find_first_of("\r\n", start);
    std::string_view line =
        in.substr(start, end == std::string_view::npos ? in.size() - start : end - start);
    RtfParagraph p;
    RtfRun run;
    if (utf8) {
      run.text.assign(line);
    } else {
      for (unsigned char c : line) appendUtf8(run.text, cp1252(c));
    }
    if (!run.text.empty()) p.runs.push_back(std::move(run));
    doc.paragraphs.push_back(std::move(p));
    if (end == std::string_view::npos) break;
    start = end + (in[end] == '\r' && end + 1 < in.size() && in[end + 1] == '\n' ? 2 : 1);
    if (start == in.size()) break;
  }
  return doc;
}

}  // namespace

std::string RtfParagraph::plainText() const {
  std::string out;
  for (const RtfRun& r : runs) out += r.text;
  return out;
}

RtfDocument readRtf(std::string_view input) {
  size_t at = 0;
  while (at < input.size() && static_cast<unsigned char>(input[at]) <= 32) ++at;
  if (input.substr(at, 5) != "{\\rtf") return plainDocument(input);
  return Reader(input.substr(at)).read();
}

}  // namespace trel
