// Dates and times: numbers of days since 30 December 1899 with the time of day as the fraction.
#include "formula/builtin_functions.h"
#include "formula/formula_calc.h"
#include "rtl/arithmetic_errors.h"
#include "rtl/date_time.h"
#include "rtl/date_time_parse.h"
#include "rtl/date_time_picture.h"

namespace trel {

namespace {

template <int DateTimeParts::*Field>
void part(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(decodeDateTime(calc.numberAt(0)).*Field);
}

}  // namespace

void fnYear(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::year>(c, r);
}
void fnMonth(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::month>(c, r);
}
void fnDay(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::day>(c, r);
}
void fnHour(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::hour>(c, r);
}
void fnMinute(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::minute>(c, r);
}
void fnSecond(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::second>(c, r);
}
void fnMillisecond(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::millisecond>(c, r);
}
void fnDayOfWeek(TFormulaCalc& c, TCalcItem& r) {
  part<&DateTimeParts::dayOfWeek>(c, r);
}

void fnNow(TFormulaCalc&, TCalcItem& result) {
  result.setNumber(nowDateTime());
}

void fnDate(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(textToDateTime(calc.textAt(0)));
}

void fnIsLeapYear(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(isLeapYear(truncToInt64(calc.numberAt(0))) ? 1 : 0);
}

void fnEncodeDate(TFormulaCalc& calc, TCalcItem& result) {
  result.setNumber(encodeDate(truncToInt64(calc.numberAt(2)), truncToInt64(calc.numberAt(1)),
                              truncToInt64(calc.numberAt(0))));
}

void fnFormatDate(TFormulaCalc& calc, TCalcItem& result) {
  std::string picture = calc.textAt(1);
  result.setText(formatDateTime(picture, calc.numberAt(0)));
}

}  // namespace trel
