// The process-wide decimal separator used when reals are read from or written as text.
#pragma once

namespace trel {

char decimalSeparator();
void setDecimalSeparator(char separator);
// Sets the separator from the environment's numeric locale (LC_ALL, LC_NUMERIC, LANG).
void initDecimalSeparatorFromEnvironment();

// Sets the separator for the life of the object and restores the earlier one afterwards.
class DecimalSeparatorScope {
 public:
  explicit DecimalSeparatorScope(char separator) : saved_(decimalSeparator()) {
    setDecimalSeparator(separator);
  }
  ~DecimalSeparatorScope() { setDecimalSeparator(saved_); }
  DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
  DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

 private:
  char saved_;
};

}  // namespace trel
