#include "rtl/decimal_separator.h"

#include <langinfo.h>
#include <locale.h>

namespace trel {

namespace {
char g_separator = '.';
}

char decimalSeparator() {
  return g_separator;
}
void setDecimalSeparator(char separator) {
  g_separator = separator;
}

void initDecimalSeparatorFromEnvironment() {
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return;
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  if (radix && radix[0] != '\0' && radix[1] == '\0') g_separator = radix[0];
  freelocale(loc);
}

}  // namespace trel
