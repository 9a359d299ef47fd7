// TCalcItem: one formula value, as the value stack, the variables and the built-in functions
// exchange it: a number, a text, or a reference to an external variable fetched from the host
// whenever it is converted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trel {

enum class CalcKind : uint8_t { Number = 0, Text = 1, Reference = 2 };

struct TCalcItem {
  double number = 0;
  std::string text;  // the text, or the external variable's name
  CalcKind kind = CalcKind::Number;

  TCalcItem() = default;
  explicit TCalcItem(double v) : number(v) {}
  // Copying takes the kind and only the field the kind uses.
  TCalcItem(const TCalcItem& o) : kind(o.kind) {
    if (kind == CalcKind::Number)
      number = o.number;
    else
      text = o.text;
  }
  TCalcItem& operator=(const TCalcItem& o) {
    kind = o.kind;
    if (kind == CalcKind::Number)
      number = o.number;
    else if (this != &o)
      text = o.text;
    return *this;
  }
  TCalcItem(TCalcItem&&) noexcept = default;
  TCalcItem& operator=(TCalcItem&&) noexcept = default;

  static TCalcItem fromText(std::string_view s) {
    TCalcItem item;
    item.setText(s);
    return item;
  }

  void setNumber(double v) {
    kind = CalcKind::Number;
    number = v;
  }
  void setText(std::string_view s) {
    kind = CalcKind::Text;
    text.assign(s);
  }
  void setText(std::string&& s) {
    kind = CalcKind::Text;
    text = std::move(s);
  }
  void setReference(std::string_view name) {
    kind = CalcKind::Reference;
    text.assign(name);
  }
};

}  // namespace trel
