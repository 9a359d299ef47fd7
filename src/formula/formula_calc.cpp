#include "formula/formula_calc.h"

#include "formula/art_formula.h"
#include "formula/formula_exception.h"
#include "rtl/real_text.h"

namespace trel {

void checkTextLength(size_t length) {
  if (length > kMaxTextLength)
    throw FormulaException("Text too long (more than " + std::to_string(kMaxTextLength) +
                           " characters)");
}

TFormulaCalc::TFormulaCalc(TArtFormula& owner) : owner_(owner), items_(200) {}

void TFormulaCalc::clear() {
  // Long texts left in slots of an earlier run are let go of.
  for (int i = 0; i < highWater_ && i < static_cast<int>(items_.size()); ++i)
    if (items_[i].text.capacity() > 4096) std::string().swap(items_[i].text);
  top_ = 0;
  highWater_ = 0;
}

void TFormulaCalc::grow() {
  // Steps of 200 for small stacks; proportional steps keep a call with very many arguments from
  // copying the stack over and over.
  size_t step = items_.size() / 2 < 200 ? 200 : items_.size() / 2;
  items_.resize(items_.size() + step);
}

void TFormulaCalc::need(int count) const {
  if (top_ < count) throw FormulaException("Formula stack is empty");
}

TCalcItem& TFormulaCalc::itemAt(int depth) {
  if (depth < 0 || depth >= top_) throw FormulaException("Formula stack is empty");
  return items_[top_ - 1 - depth];
}

std::string TFormulaCalc::referenceText(const TCalcItem& item) {
  if (!owner_.GetVarValue) throw FormulaException("GetVarValue not set!");
  std::string value;
  owner_.GetVarValue(item.text, 0, value, false);
  return value;
}

bool TFormulaCalc::tryToNumber(const TCalcItem& item, double& value) {
  if (item.kind == CalcKind::Number) {
    value = item.number;
    return true;
  }
  std::string fetched;
  const std::string& text =
      item.kind == CalcKind::Text ? item.text : (fetched = referenceText(item));
  if (text.empty() && owner_.ZeroEmptyString) {
    value = 0;
    return true;
  }
  return tryTextToReal(text, value);
}

double TFormulaCalc::toNumber(const TCalcItem& item) {
  if (item.kind == CalcKind::Number) return item.number;
  double v;
  if (tryToNumber(item, v)) return v;
  // The conversion error names the text that is no number.
  return textToReal(item.kind == CalcKind::Text ? item.text : referenceText(item));
}

std::string TFormulaCalc::toText(const TCalcItem& item) {
  switch (item.kind) {
    case CalcKind::Number:
      return realToText(item.number);
    case CalcKind::Text:
      return item.text;
    case CalcKind::Reference:
      break;
  }
  return referenceText(item);
}

}  // namespace trel
