#include "formula/lexer.h"

#include <array>

#include "formula/formula_words.h"
#include "formula/variable_context.h"
#include "rtl/integer_text.h"
#include "rtl/real_text.h"

namespace trel {

namespace {
constexpr double kPi = 3.141592653589793;
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
// The characters a scan looks for before it looks at the identifier alphabet: blanks, the starts
// of comments, the end and the starts of texts. A token that starts with none of them skips
// those tests.
constexpr std::array<bool, 256> kLookedAtFirst = [] {
  std::array<bool, 256> first{};
  for (char c : {' ', '\t', '\n', '\r', '{', '/', '\0', '\'', '"', '#'})
    first[static_cast<unsigned char>(c)] = true;
  return first;
}();
}  // namespace

void FormulaLexer::start(std::string_view text, const LexerSettings& settings,
                         VariableContext* variables) {
  src_.assign(text);
  pos_ = floor_ = 0;
  depth_ = 0;
  gaveUp_ = false;
  settings_ = settings;
  variables_ = variables;
  text_.clear();
  number_ = 0;
  index_ = 0;
  error_ = kNoError;
  errorSubject_.clear();
  substitutions_ = 0;
  ahead_.valid = false;
}

uint8_t FormulaLexer::lookAhead() {
  const size_t from = pos_;
  const uint8_t t = next();
  ahead_ = {true, t, error_, from, pos_, substitutions_, number_, index_};
  pos_ = from;
  return t;
}

void FormulaLexer::takeLookedAhead() {
  pos_ = ahead_.to;
  ahead_.valid = false;
}

uint8_t FormulaLexer::peek() {
  return lookAhead();
}

uint8_t FormulaLexer::orPair(char single, uint8_t pair) {
  if (lookAhead() != static_cast<uint8_t>(single)) return static_cast<uint8_t>(single);
  takeLookedAhead();
  return pair;
}

uint8_t FormulaLexer::scan(bool namesAsText) {
  for (;;) {
    error_ = kNoError;
    text_.clear();
    char c = ch();
    if (kLookedAtFirst[static_cast<unsigned char>(c)]) {
      while (isBlank(ch())) ++pos_;
      // One brace comment, then any run of closing braces and blanks.
      if (ch() == '{') {
        while (ch() != '}' && ch() != '\0') ++pos_;
        while (ch() == '}' || isBlank(ch())) ++pos_;
      }
      if (ch() == '/' && ch(1) == '/') {
        while (ch() != '\n' && ch() != '\0') ++pos_;
        if (ch() == '\n') ++pos_;
        continue;
      }
      c = ch();
      if (c == '\0') return tok::kEnd;
      if (c == '\'' || c == '"' || c == '#') return scanText();
    }
    if ((*settings_.alphabet)[static_cast<unsigned char>(c)]) {
      bool substituted = false;
      uint8_t t = scanIdentifier(namesAsText, substituted);
      if (substituted) continue;
      return t;
    }
    if (c == '$') {
      if (isDigit(ch(1))) return scanHexNumber();
      ++pos_;
      return tok::kDollar;
    }
    if (isDigit(c) || (c == '.' && settings_.noLeadingZero)) return scanNumber();
    switch (c) {
      case '%':
      case '(':
      case ')':
      case '*':
      case '.':
      case '/':
      case '@':
      case '[':
      case '\\':
      case ']':
      case '^':
        ++pos_;
        return static_cast<uint8_t>(c);
      case '!':
        ++pos_;
        return orPair('!', tok::kBitNot);
      case '&':
        ++pos_;
        return orPair('&', tok::kBitAnd);
      case '|':
        ++pos_;
        return orPair('|', tok::kBitOr);
      case '+':
        ++pos_;
        return orPair('+', tok::kIncrement);
      case '-':
        ++pos_;
        return orPair('-', tok::kDecrement);
      case ',':
      case ';': {
        // A "," right before ")" is dropped (so MAX(1,2,) is MAX(1,2)).
        ++pos_;
        if (lookAhead() != ')') return ',';
        takeLookedAhead();
        return ')';
      }
      case ':':
        if (ch(1) == '=') {
          pos_ += 2;
          return tok::kAssign;
        }
        error_ = kSyntaxError;
        return tok::kFail;
      case '=':
        ++pos_;
        if (ch() == '=') {
          ++pos_;
          return tok::kLike;
        }
        return '=';
      case '>':
        ++pos_;
        if (ch() == '=') return ++pos_, tok::kGreaterEqual;
        if (ch() == '>') return ++pos_, tok::kShiftRight;
        return '>';
      case '<':
        ++pos_;
        if (ch() == '=') return ++pos_, tok::kLessEqual;
        if (ch() == '<') return ++pos_, tok::kShiftLeft;
        if (ch() == '>') return ++pos_, tok::kNotEqual;
        return '<';
      default:
        error_ = kIllegalCharacter;
        errorSubject_.assign(1, c);
        return tok::kFail;
    }
  }
}

uint8_t FormulaLexer::scanText() {
  // A run of pieces: 'quoted', "quoted" or #code, joined.
  for (;;) {
    const char c = ch();
    if (c == '\'' || c == '"') {
      ++pos_;
      while (ch() != c) {
        if (ch() == '\0') {
          error_ = kSyntaxError;
          return tok::kFail;
        }
        text_.push_back(ch());
        ++pos_;
        // Two quotes after a character stand for one quote inside the piece.
        if (ch() == c && ch(1) == c) {
          text_.push_back(c);
          pos_ += 2;
        }
      }
      ++pos_;
    } else if (c == '#') {
      size_t start = ++pos_;
      while (isDigit(ch())) ++pos_;
      int32_t code;
      if (start == pos_ || !tryTextToInt(src_.view(start, pos_), code)) {
        error_ = kSyntaxError;
        return tok::kFail;
      }
      text_.push_back(static_cast<char>(code & 0xFF));
    } else {
      return tok::kText;
    }
  }
}

uint8_t FormulaLexer::scanNumber() {
  size_t start = pos_;
  uint64_t whole = 0;
  while (isDigit(ch())) whole = whole * 10 + static_cast<uint64_t>(ch() - '0'), ++pos_;
  // Up to fifteen digits alone are a whole number that a double holds exactly, which is what
  // reading them as a decimal gives.
  const bool plainWhole = ch() != '.' && ch() != 'E' && ch() != 'e' && pos_ - start <= 15;
  if (ch() == '.') {
    ++pos_;
    while (isDigit(ch())) ++pos_;
  }
  if (ch() == 'E' || ch() == 'e') {
    ++pos_;
    if (ch() == '+' || ch() == '-') ++pos_;
    while (isDigit(ch())) ++pos_;
  }
  if (plainWhole) {
    number_ = static_cast<double>(whole);
    return tok::kNumber;
  }
  if (!tryDecimalToReal(src_.view(start, pos_), number_)) {
    error_ = kSyntaxError;
    return tok::kFail;
  }
  return tok::kNumber;
}

uint8_t FormulaLexer::scanHexNumber() {
  size_t start = pos_++;
  ++pos_;  // the decimal digit that makes "$" a number
  while (isDigit(ch()) || (ch() >= 'A' && ch() <= 'F') || (ch() >= 'a' && ch() <= 'f')) ++pos_;
  text_.assign(src_.view(start, pos_));
  int32_t value;
  if (!tryTextToInt(text_, value)) {
    error_ = kSyntaxError;
    return tok::kFail;
  }
  number_ = value;
  return tok::kNumber;
}

// Inlined into scan, its one caller: most tokens are names.
[[gnu::always_inline]] inline uint8_t FormulaLexer::scanIdentifier(bool namesAsText,
                                                                   bool& substituted) {
  const size_t start = pos_++;
  while ((*settings_.alphabet)[static_cast<unsigned char>(ch())] || isDigit(ch())) ++pos_;
  // The identifier's text is kept (in text_) only where a token's text is read: for a text,
  // an external variable, a name that $ turns into a text, and the error's subject.
  const std::string_view id = src_.view(start, pos_);
  if (namesAsText) text_.assign(id);
  if (const FormulaWord* w = findFormulaWord(id)) {
    switch (w->kind) {
      case FormulaWord::Keyword:
        if (w->token == tok::kNumber) number_ = kPi;
        return w->token;
      case FormulaWord::Constant:
        // The word gives way to its text, which is scanned next (it may hold further words).
        src_.replace(floor_, start, pos_, w->replacement);
        ++substitutions_;
        pos_ = start;
        substituted = true;
        return tok::kFail;
      case FormulaWord::Function:
        index_ = w->function;
        return tok::kFunction;
    }
  }
  if (variables_) {
    int v = variables_->findHost(id);
    if (v >= 0) {
      index_ = v;
      variables_->markUsed(v);
      return tok::kVariable;
    }
  }
  if (settings_.externGetVar) {
    text_.assign(id);
    return tok::kExtern;
  }
  if (settings_.unquotedString || namesAsText) {
    text_.assign(id);
    return tok::kText;
  }
  error_ = kUnknownIdentifier;
  errorSubject_.assign(id);
  return tok::kFail;
}

}  // namespace trel
