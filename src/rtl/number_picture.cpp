#include "rtl/number_picture.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "rtl/decimal_digits.h"
#include "rtl/decimal_separator.h"
#include "rtl/real_text.h"

namespace trel {

char thousandSeparator() {
  return decimalSeparator() == ',' ? '.' : ',';
}

namespace {

// Splits at ";" outside quoted text.
std::vector<std::string_view> pictureSections(std::string_view picture) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < picture.size(); ++i) {
    char c = picture[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(picture.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(picture.substr(start));
  return sections;
}

// What one section asks for.
struct PictureLayout {
  int intPlaces = 0;     // placeholders before the decimal point
  int minIntDigits = 0;  // from the first "0" before the point on
  int decPlaces = 0;     // placeholders after the point
  int minDecDigits = 0;  // up to the last "0" after the point
  bool grouping = false;
  bool scientific = false;
  bool exponentPlus = false;  // "E+": the sign is always written
  int exponentDigits = 0;
  char exponentLetter = 'E';
};

// Walks a section: quoted text, placeholders, the point, grouping and the exponent.
template <typename Visitor>
void walkSection(std::string_view s, Visitor&& visit) {
  bool pointSeen = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"' || c == '\'') {
      size_t end = s.find(c, i + 1);
      if (end == std::string_view::npos) end = s.size();
      visit.literal(s.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '0' || c == '#') {
      visit.placeholder(c, pointSeen);
    } else if (c == '.' && !pointSeen) {
      pointSeen = true;
      visit.point();
    } else if (c == ',') {
      visit.grouping();
    } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
      int zeros = 0;
      size_t j = i + 2;
      while (j < s.size() && s[j] == '0' && zeros < 4) ++j, ++zeros;
      visit.exponent(c, s[i + 1] == '+', zeros);
      i = j - 1;
    } else {
      visit.literal(s.substr(i, 1));
    }
  }
}

PictureLayout layoutOf(std::string_view section) {
  struct {
    PictureLayout l;
    bool zeroSeen = false;
    void literal(std::string_view) {}
    void placeholder(char c, bool afterPoint) {
      if (l.scientific) return;
      if (afterPoint) {
        ++l.decPlaces;
        if (c == '0') l.minDecDigits = l.decPlaces;
      } else {
        ++l.intPlaces;
        if (c == '0') zeroSeen = true;
        if (zeroSeen) ++l.minIntDigits;
      }
    }
    void point() {}
    void grouping() { l.grouping = true; }
    void exponent(char letter, bool plus, int zeros) {
      if (l.scientific) return;
      l.scientific = true;
      l.exponentLetter = letter;
      l.exponentPlus = plus;
      l.exponentDigits = zeros;
    }
  } v;
  walkSection(section, v);
  return v.l;
}

// Writes the digits into the section's layout.
class SectionWriter {
 public:
  SectionWriter(const PictureLayout& l, std::string intDigits, std::string fracDigits,
                std::string exponentText)
      : l_(l),
        int_(std::move(intDigits)),
        frac_(std::move(fracDigits)),
        exp_(std::move(exponentText)) {}

  void literal(std::string_view s) { out.append(s); }
  void placeholder(char, bool afterPoint) {
    // The layout counts no placeholder after the exponent, so none has a digit to write.
    if (exponentWritten_) return;
    if (afterPoint) {
      if (decIndex_ < static_cast<int>(frac_.size())) out.push_back(frac_[decIndex_]);
      ++decIndex_;
      return;
    }
    // Placeholder k (from the left) stands for the digit at position intPlaces - 1 - k from the
    // right; the first one also takes every digit the picture has no place for.
    int fromRight = l_.intPlaces - 1 - intIndex_;
    int count = static_cast<int>(int_.size());
    if (intIndex_ == 0)
      for (int r = count - 1; r > fromRight; --r) digit(r);
    if (fromRight < count) digit(fromRight);
    ++intIndex_;
  }
  void point() {
    if (!frac_.empty()) out.push_back(decimalSeparator());
  }
  void grouping() {}
  void exponent(char, bool, int) {
    if (!exponentWritten_) out.append(exp_);
    exponentWritten_ = true;
  }

  std::string out;

 private:
  void digit(int fromRight) {
    out.push_back(int_[int_.size() - 1 - static_cast<size_t>(fromRight)]);
    if (l_.grouping && fromRight > 0 && fromRight % 3 == 0) out.push_back(thousandSeparator());
  }

  const PictureLayout& l_;
  std::string int_, frac_, exp_;
  int intIndex_ = 0, decIndex_ = 0;
  bool exponentWritten_ = false;
};

std::string trimFraction(std::string frac, int minDigits) {
  while (static_cast<int>(frac.size()) > minDigits && frac.back() == '0') frac.pop_back();
  return frac;
}

std::string formatSection(std::string_view section, const PictureLayout& l, DecimalDigits d) {
  d.negative = false;
  std::string intDigits, fracDigits, exponentText;
  if (l.scientific) {
    int intPlaces = l.intPlaces > 0 ? l.intPlaces : 1;
    roundToSignificant(d, intPlaces + l.decPlaces);
    int exponent = d.digits.empty() ? 0 : d.exponent - intPlaces;
    d.exponent = d.digits.empty() ? 0 : intPlaces;
    intDigits = integerDigits(d);
    fracDigits = trimFraction(fractionDigits(d, l.decPlaces), l.minDecDigits);
    std::string e = std::to_string(std::abs(exponent));
    if (static_cast<int>(e.size()) < l.exponentDigits)
      e.insert(0, l.exponentDigits - e.size(), '0');
    exponentText.push_back(l.exponentLetter);
    if (exponent < 0)
      exponentText.push_back('-');
    else if (l.exponentPlus)
      exponentText.push_back('+');
    exponentText += e;
  } else {
    intDigits = integerDigits(d);
    fracDigits = trimFraction(fractionDigits(d, l.decPlaces), l.minDecDigits);
  }
  // Leading zeros only as far as the picture asks for them.
  size_t lead = 0;
  while (lead < intDigits.size() && intDigits[lead] == '0') ++lead;
  intDigits.erase(0, lead);
  if (static_cast<int>(intDigits.size()) < l.minIntDigits)
    intDigits.insert(0, l.minIntDigits - intDigits.size(), '0');
  SectionWriter w(l, intDigits, fracDigits, exponentText);
  walkSection(section, w);
  return w.out;
}

DecimalDigits roundedFor(const PictureLayout& l, double value) {
  DecimalDigits d = decimalDigits(value, 15);
  if (l.scientific)
    roundToSignificant(d, (l.intPlaces > 0 ? l.intPlaces : 1) + l.decPlaces);
  else
    roundToDecimals(d, l.decPlaces);
  return d;
}

}  // namespace

std::string formatNumberPicture(std::string_view picture, double value) {
  std::vector<std::string_view> sections = pictureSections(picture);
  std::string_view section = sections[0];
  bool writeSign = value < 0;
  if (value < 0 && sections.size() > 1 && !sections[1].empty()) {
    section = sections[1];
    writeSign = false;
  }
  if (section.empty()) return realToText(value);
  PictureLayout layout = layoutOf(section);
  DecimalDigits d = roundedFor(layout, value);
  if (d.digits.empty()) {
    // A value that rounds to zero takes the zero picture and no sign.
    writeSign = false;
    if (sections.size() > 2 && !sections[2].empty()) {
      section = sections[2];
      layout = layoutOf(section);
      d = DecimalDigits{};
    }
  }
  std::string text = formatSection(section, layout, d);
  return writeSign ? "-" + text : text;
}

}  // namespace trel
