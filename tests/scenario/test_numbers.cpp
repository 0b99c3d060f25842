// The integers typed into the dialogs and read from scenario files.
#include <gtest/gtest.h>

#include "numbers.h"

using namespace wymianadanych;

TEST(Numbers, ValidNumbers) {
  EXPECT_EQ(ParseInt32("50"), 50);
  EXPECT_EQ(ParseInt32(" 50"), 50);
  EXPECT_EQ(ParseInt32("   -7"), -7);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("$1F"), 31);
  EXPECT_EQ(ParseInt32("0x1f"), 31);
  EXPECT_EQ(ParseInt32("0X10"), 16);
  EXPECT_EQ(ParseInt32("-$10"), -16);
  EXPECT_EQ(ParseInt32("007"), 7);
  EXPECT_EQ(ParseInt32("0"), 0);
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt32("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseInt32("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(ParseInt32("-$80000000"), -2147483647 - 1);
}

TEST(Numbers, InvalidNumbers) {
  for (const char* bad : {"", " ", "-", "+", "$", "0x", "1x", "12a", "50 ", "5 0", "1.5", "2147483648",
                          "-2147483649", "$80000000", "$FFFFFFFF", "99999999999999999999", "--1", "x10", "\t5"})
    EXPECT_FALSE(ParseInt32(bad).has_value()) << '"' << bad << '"';
}
