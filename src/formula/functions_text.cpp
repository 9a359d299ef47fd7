// Texts and number formatting.
#include <cmath>

#include "formula/art_formula.h"
#include "formula/builtin_functions.h"
#include "rtl/arithmetic_errors.h"
#include "rtl/errors.h"
#include "rtl/integer_text.h"
#include "rtl/number_picture.h"
#include "rtl/printf_format.h"
#include "rtl/text.h"

namespace trel {

namespace {

// A count or position argument: truncated, and held to a range where any text length fits.
int64_t countAt(TFormulaCalc& calc, int depth) {
  double x = std::trunc(calc.numberAt(depth));
  if (x > 1e15) return static_cast<int64_t>(1e15);
  if (x < -1e15) return static_cast<int64_t>(-1e15);
  return static_cast<int64_t>(x);
}

}  // namespace

void fnChr(TFormulaCalc& calc, TCalcItem& result) {
  auto code = static_cast<uint64_t>(truncToInt64(calc.numberAt(0)));
  result.setText(std::string(1, static_cast<char>(code & 0xFF)));
}

// The code of the first character; the empty text has none and gives 0.
void fnCode(TFormulaCalc& calc, TCalcItem& result) {
  std::string s = calc.textAt(0);
  result.setNumber(s.empty() ? 0 : static_cast<unsigned char>(s[0]));
}

void fnLength(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(static_cast<double>(calc.textAt(0).size()));
}

void fnTrim(TFormulaCalc& calc, TCalcItem& result) {
  result.setText(trim(calc.textAt(0)));
}
void fnTrimLeft(TFormulaCalc& calc, TCalcItem& result) {
  result.setText(trimLeft(calc.textAt(0)));
}
void fnTrimRight(TFormulaCalc& calc, TCalcItem& result) {
  result.setText(trimRight(calc.textAt(0)));
}
void fnUpperCase(TFormulaCalc& calc, TCalcItem& result) {
  result.setText(upperCase(calc.textAt(0)));
}
void fnLowerCase(TFormulaCalc& calc, TCalcItem& result) {
  result.setText(lowerCase(calc.textAt(0)));
}

void fnMidStr(TFormulaCalc& calc, TCalcItem& result) {
  std::string s = calc.textAt(2);
  int64_t from = countAt(calc, 1), count = countAt(calc, 0);
  if (from < 1) from = 1;
  if (count < 1 || from > static_cast<int64_t>(s.size())) {
    result.setText(std::string());
    return;
  }
  result.setText(s.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count)));
}

void fnLeftStr(TFormulaCalc& calc, TCalcItem& result) {
  std::string s = calc.textAt(1);
  int64_t n = countAt(calc, 0);
  result.setText(n < 1 ? std::string() : s.substr(0, static_cast<size_t>(n)));
}

void fnRightStr(TFormulaCalc& calc, TCalcItem& result) {
  std::string s = calc.textAt(1);
  int64_t n = countAt(calc, 0);
  if (n < 1) {
    result.setText(std::string());
  } else if (n >= static_cast<int64_t>(s.size())) {
    result.setText(std::move(s));
  } else {
    result.setText(s.substr(s.size() - static_cast<size_t>(n)));
  }
}

void fnPos(TFormulaCalc& calc, TCalcItem& result) {
  std::string sub = calc.textAt(1), s = calc.textAt(0);
  if (!calc.owner().CaseSensitiveString) {
    sub = upperCase(sub);
    s = upperCase(s);
  }
  size_t at = sub.empty() ? std::string::npos : s.find(sub);
  result.setNumber(at == std::string::npos ? 0 : static_cast<double>(at + 1));
}

// n copies of the first character; the empty text has none to copy and gives the empty text.
void fnStringOfChar(TFormulaCalc& calc, TCalcItem& result) {
  std::string s = calc.textAt(1);
  int64_t n = countAt(calc, 0);
  if (s.empty() || n < 1) {
    result.setText(std::string());
    return;
  }
  checkTextLength(static_cast<size_t>(n));
  result.setText(std::string(static_cast<size_t>(n), s[0]));
}

void fnHex(TFormulaCalc& calc, TCalcItem& result) {
  std::string s = calc.textAt(0);
  std::string_view digits = trimView(s);
  uint64_t value = 0;
  bool ok = !digits.empty() && digits.size() <= 16;
  for (char c : digits) {
    int d = hexDigit(c);
    if (d < 0) ok = false;
    value = value << 4 | static_cast<uint64_t>(d < 0 ? 0 : d);
  }
  if (!ok) throw Error("'" + s + "' is not a valid hexadecimal number");
  result.setNumber(static_cast<double>(static_cast<int64_t>(value)));
}

void fnFormat(TFormulaCalc& calc, TCalcItem& result) {
  std::string picture = calc.textAt(1);
  result.setText(formatNumberPicture(picture, calc.numberAt(0)));
}

void fnFormatF(TFormulaCalc& calc, TCalcItem& result) {
  std::string format = calc.textAt(1);
  result.setText(formatPrintf(format, calc.numberAt(0)));
}

void fnIsNumber(TFormulaCalc& calc, TCalcItem& result) {
  double v;
  result.setNumber(calc.tryToNumber(calc.itemAt(0), v) ? 1 : 0);
}

}  // namespace trel
