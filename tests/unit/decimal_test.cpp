#include "platform/decimal.h"

#include <gtest/gtest.h>

#include <climits>

namespace lorvane::platform {
namespace {

TEST(ParseDecimal, ReadsPlainAndSignedNumbers) {
  EXPECT_EQ(parse_decimal(L"0"), 0);
  EXPECT_EQ(parse_decimal(L"5000"), 5000);
  EXPECT_EQ(parse_decimal(L"-3"), -3);
  EXPECT_EQ(parse_decimal(L"+7"), 7);
  EXPECT_EQ(parse_decimal(L"  12"), 12);
}

TEST(ParseDecimal, StopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(parse_decimal(L"12abc"), 12);
  EXPECT_EQ(parse_decimal(L"3 4"), 3);
  EXPECT_EQ(parse_decimal(L"1.9"), 1);
}

TEST(ParseDecimal, TextWithoutDigitsIsNoNumber) {
  EXPECT_FALSE(parse_decimal(L""));
  EXPECT_FALSE(parse_decimal(L"abc"));
  EXPECT_FALSE(parse_decimal(L"-"));
  EXPECT_FALSE(parse_decimal(L"  +x1"));
}

TEST(ParseDecimal, ClampsToTheSigned32BitRange) {
  EXPECT_EQ(parse_decimal(L"2147483647"), 2147483647);
  EXPECT_EQ(parse_decimal(L"2147483648"), 2147483647);
  EXPECT_EQ(parse_decimal(L"-2147483648"), INT32_MIN);
  EXPECT_EQ(parse_decimal(L"-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(parse_decimal(L"99999999999999999999"), 2147483647);
}

TEST(ParseDecimal, BlanksSignAndZerosOnlyWhereTheyBelong) {
  EXPECT_EQ(parse_decimal(L"\t 7"), 7);
  EXPECT_EQ(parse_decimal(L"  -5"), -5);
  EXPECT_EQ(parse_decimal(L"-0"), 0);
  EXPECT_FALSE(parse_decimal(L"- 5"));
  EXPECT_FALSE(parse_decimal(L"+-5"));
  EXPECT_FALSE(parse_decimal(L"\uff15"));  // a full-width digit is no digit
  // Leading zeros do not count towards the clamp.
  EXPECT_EQ(parse_decimal(L"000000000000000000000012"), 12);
  EXPECT_EQ(parse_decimal(L"-000000000002147483648"), INT32_MIN);
}

TEST(DecimalText, WritesWhatTheSettingsFileHoldsAndReadsBackTheSame) {
  EXPECT_EQ(decimal_text(0), L"0");
  EXPECT_EQ(decimal_text(7), L"7");
  EXPECT_EQ(decimal_text(10), L"10");
  EXPECT_EQ(decimal_text(5000), L"5000");
  EXPECT_EQ(decimal_text(-3), L"-3");
  EXPECT_EQ(decimal_text(INT32_MAX), L"2147483647");
  // The one number without a positive counterpart.
  EXPECT_EQ(decimal_text(INT32_MIN), L"-2147483648");
  for (std::int32_t n : {-1000000, -10, -1, 1, 9, 99, 100, 65535, 1000000000}) {
    EXPECT_EQ(parse_decimal(decimal_text(n)), n) << n;
  }
}

}  // namespace
}  // namespace lorvane::platform
