// The runtime facilities behind the formula functions: number pictures, the printf-style format,
// date arithmetic, date pictures and reading, and the mask matcher.
#include <gtest/gtest.h>

#include <cmath>

#include "rtl/date_time.h"
#include "rtl/date_time_formats.h"
#include "rtl/date_time_parse.h"
#include "rtl/date_time_picture.h"
#include "rtl/decimal_separator.h"
#include "rtl/errors.h"
#include "rtl/file_mask.h"
#include "rtl/number_picture.h"
#include "rtl/printf_format.h"

using namespace trel;

TEST(FormulaRuntimeFormats, NumberPictures) {
  EXPECT_EQ(formatNumberPicture("0.00", 3.14159), "3.14");
  EXPECT_EQ(formatNumberPicture("0.00", -0.001), "0.00");
  EXPECT_EQ(formatNumberPicture("#.##", 0.5), ".5");
  EXPECT_EQ(formatNumberPicture("#.##", 5), "5");
  EXPECT_EQ(formatNumberPicture("000", 7), "007");
  EXPECT_EQ(formatNumberPicture("0", 2.5), "3");  // halves away from zero
  EXPECT_EQ(formatNumberPicture("#,##0", 1234567), "1,234,567");
  EXPECT_EQ(formatNumberPicture("#,##0", -1234), "-1,234");
  EXPECT_EQ(formatNumberPicture("###-####", 5551234), "555-1234");
  EXPECT_EQ(formatNumberPicture("0.00E+00", 12345), "1.23E+04");
  EXPECT_EQ(formatNumberPicture("0.0E-0", 0.00012), "1.2E-4");
  EXPECT_EQ(formatNumberPicture("0.00 'EUR'", 2), "2.00 EUR");
  EXPECT_EQ(formatNumberPicture("0;(0)", -3), "(3)");
  EXPECT_EQ(formatNumberPicture("0;;'none'", 0), "none");
  EXPECT_EQ(formatNumberPicture("", 0.25), "0.25");
  DecimalSeparatorScope comma(',');
  EXPECT_EQ(formatNumberPicture("#,##0.00", 1234.5), "1.234,50");
}

TEST(FormulaRuntimeFormats, PrintfStyle) {
  EXPECT_EQ(formatPrintf("%.2f", 3.14159), "3.14");
  EXPECT_EQ(formatPrintf("%f", 2), "2.00");
}

TEST(FormulaRuntimeFormats, PrintfStyleDetails) {
  EXPECT_EQ(formatPrintf("[%6.1f]", 2.25), "[   2.3]");
  EXPECT_EQ(formatPrintf("[%-6.1f]", 2.25), "[2.3   ]");
  EXPECT_EQ(formatPrintf("%e", 1234.5), "1.23450000000000E+003");
  EXPECT_EQ(formatPrintf("%.3e", -0.00012345), "-1.23E-004");
  EXPECT_EQ(formatPrintf("%g", 0.5), "0.5");
  EXPECT_EQ(formatPrintf("%.3g", 1234567), "1.23E+006");
  EXPECT_EQ(formatPrintf("%n", 1234567.891), "1,234,567.89");
  EXPECT_EQ(formatPrintf("%x", 255), "FF");
  EXPECT_EQ(formatPrintf("%.4d", -42), "-0042");
  EXPECT_EQ(formatPrintf("%s!", 0.5), "0.5!");
  EXPECT_EQ(formatPrintf("100%%", 1), "100%");
  EXPECT_EQ(formatPrintf("%0:f", 1), "1.00");
  for (const char* bad : {"%", "%q", "%d", "%1:f", "%*f", "%f %f", "%99999f"}) {
    double value = std::string(bad) == "%d" ? 1.5 : 1;
    EXPECT_THROW(formatPrintf(bad, value), Error) << bad;
  }
}

TEST(FormulaRuntimeFormats, DateArithmetic) {
  double t = 0;
  ASSERT_TRUE(tryEncodeDate(2024, 1, 1, t));
  EXPECT_EQ(t, 45292);
  EXPECT_FALSE(tryEncodeDate(2023, 2, 29, t));
  EXPECT_FALSE(tryEncodeDate(10000, 1, 1, t));
  EXPECT_FALSE(tryEncodeDate(0, 12, 31, t));
  ASSERT_TRUE(tryEncodeDate(1, 1, 1, t));
  EXPECT_EQ(t, -693593);
  DateTimeParts p;
  ASSERT_TRUE(tryDecodeDateTime(-1.25, p));  // a day back, six hours into it
  EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 18991229);
  EXPECT_EQ(p.hour, 6);
  ASSERT_TRUE(tryDecodeDateTime(45292.99999999999, p));  // rounds up to the next midnight
  EXPECT_EQ(p.day, 2);
  EXPECT_EQ(p.hour, 0);
  ASSERT_TRUE(tryDecodeDateTime(2958465.5, p));
  EXPECT_EQ(p.year, 9999);
  EXPECT_FALSE(tryDecodeDateTime(2958466, p));
  EXPECT_FALSE(tryDecodeDateTime(-693594, p));
  EXPECT_FALSE(tryDecodeDateTime(1.0 / 0.0, p));
}

class DatePictures : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = dateTimeFormats();
    setDateTimeFormats(DateTimeFormats{});  // m/d/yyyy, hh:nn:ss, AM/PM, English names
  }
  void TearDown() override { setDateTimeFormats(saved_); }
  DateTimeFormats saved_;
};

TEST_F(DatePictures, Format) {
  double t = 0, time = 0;
  tryEncodeDate(2024, 3, 5, t);
  tryEncodeTime(14, 7, 9, 45, time);
  t += time;
  EXPECT_EQ(formatDateTime("yyyy-mm-dd hh:nn:ss.zzz", t), "2024-03-05 14:07:09.045");
  EXPECT_EQ(formatDateTime("d/m/yy", t), "5/3/24");
  EXPECT_EQ(formatDateTime("ddd dddd mmm mmmm", t), "Tue Tuesday Mar March");
  EXPECT_EQ(formatDateTime("h:mm AM/PM", t), "2:07 PM");
  EXPECT_EQ(formatDateTime("h:mm a/p", t), "2:07 p");
  EXPECT_EQ(formatDateTime("hh 'hours' \"at\" ampm", t), "02 hours at PM");
  EXPECT_EQ(formatDateTime("c", t), "3/5/2024 14:07:09");
  EXPECT_EQ(formatDateTime("", std::trunc(t)), "3/5/2024");
  EXPECT_EQ(formatDateTime("ddddd t", t), "3/5/2024 14:07");
  EXPECT_THROW(formatDateTime("yyyy", 1e9), Error);
}

TEST_F(DatePictures, Read) {
  double t = 0, expected = 0, time = 0;
  tryEncodeDate(2024, 3, 5, expected);
  ASSERT_TRUE(tryTextToDateTime("3/5/2024", t));
  EXPECT_EQ(t, expected);
  ASSERT_TRUE(tryTextToDateTime(" 2024-03-05 ", t));
  EXPECT_EQ(t, expected);
  tryEncodeTime(13, 45, 30, 0, time);
  ASSERT_TRUE(tryTextToDateTime("3/5/2024 1:45:30 pm", t));
  EXPECT_DOUBLE_EQ(t, expected + time);
  ASSERT_TRUE(tryTextToDateTime("13:45:30", t));
  EXPECT_DOUBLE_EQ(t, time);
  ASSERT_TRUE(tryTextToDateTime("3/5/24", t));
  EXPECT_EQ(t, expected);
  for (const char* bad : {"", "x", "2/30/2024", "3/5/2024 25:00", "3/5/2024 x", "13 pm",
                          "1:2:3.4567", "99999999999/1/1"})
    EXPECT_FALSE(tryTextToDateTime(bad, t)) << bad;
}

TEST(FormulaRuntimeFormats, MaskMatcher) {
  EXPECT_TRUE(matchesMask("Report.TXT", "*.txt"));
  EXPECT_TRUE(matchesMask("abc", "a?c"));
  EXPECT_FALSE(matchesMask("abbc", "a?c"));
  EXPECT_TRUE(matchesMask("file7.log", "file[0-9].*"));
  EXPECT_FALSE(matchesMask("fileX.log", "file[0-9].*"));
  EXPECT_TRUE(matchesMask("fileX.log", "file[!0-9].*"));
  EXPECT_TRUE(matchesMask("B", "[a-c]"));
  EXPECT_TRUE(matchesMask("a-", "a[-]"));
  EXPECT_TRUE(matchesMask("", "*"));
  EXPECT_FALSE(matchesMask("", "?"));
  EXPECT_TRUE(matchesMask("aXbXc", "a*b*c"));
  EXPECT_FALSE(matchesMask("abc", "abc?"));
  // Many stars on a long text that does not match must not take exponential time.
  EXPECT_FALSE(matchesMask(std::string(20000, 'a'), "*a*a*a*a*a*a*a*a*b"));
  EXPECT_THROW(matchesMask("a", "[abc"), Error);
  EXPECT_THROW(matchesMask("a", "[]"), Error);
  EXPECT_THROW(matchesMask("a", "[!]"), Error);
}

TEST_F(DatePictures, TwelveHourClockAndShortYears) {
  double t = 0;
  ASSERT_TRUE(tryTextToDateTime("12:30 AM", t));
  EXPECT_EQ(formatDateTime("hh:nn", t), "00:30");
  ASSERT_TRUE(tryTextToDateTime("12:30 PM", t));
  EXPECT_EQ(formatDateTime("hh:nn", t), "12:30");
  EXPECT_EQ(formatDateTime("h am/pm", t), "12 pm");
  ASSERT_TRUE(tryTextToDateTime("1/2/05", t));
  EXPECT_EQ(formatDateTime("yyyy", t), "2005");
  ASSERT_TRUE(tryTextToDateTime("1/2", t));  // this year
  EXPECT_EQ(formatDateTime("m-d", t), "1-2");
}

TEST(FormulaRuntimeFormats, NumberPictureRounding) {
  EXPECT_EQ(formatNumberPicture("0.0", 0.05), "0.1");
  EXPECT_EQ(formatNumberPicture("0.0", -0.05), "-0.1");
  EXPECT_EQ(formatNumberPicture("0", 999.5), "1000");
  EXPECT_EQ(formatNumberPicture("#,##0.###", 1e15), "1,000,000,000,000,000");
  EXPECT_EQ(formatNumberPicture("0.00E+00", -0.000123456), "-1.23E-04");
  EXPECT_EQ(formatNumberPicture("00.00E-0", 123456), "12.35E4");
  // Placeholders after the exponent's four zeros stand for no digit, with or without a point.
  EXPECT_EQ(formatNumberPicture("0E+00000##", 12), "1E+0001");
  EXPECT_EQ(formatNumberPicture("0.0E+00000##", 12), "1.2E+0001");
}
