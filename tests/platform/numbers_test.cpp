#include "platform/numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(Numbers, TypedNumbersAllowBlanksButNotEmptyOrWords) {
  EXPECT_EQ(platform::ParseNumber(QStringLiteral(" 1.4 ")), 1.4);
  EXPECT_EQ(platform::ParseNumber(QStringLiteral("-2")), -2.0);
  EXPECT_FALSE(platform::ParseNumber(QString()).has_value());
  EXPECT_FALSE(platform::ParseNumber(QStringLiteral("   ")).has_value());
  EXPECT_FALSE(platform::ParseNumber(QStringLiteral("1.4x")).has_value());
  EXPECT_FALSE(platform::ParseNumber(QStringLiteral("nan")).has_value());
}

TEST(Numbers, HalvesRoundToTheEvenNeighbour) {
  EXPECT_EQ(platform::RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(platform::RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(platform::RoundHalfEven(-0.5), -0.0);
  EXPECT_EQ(platform::ToInt16(1.475), 1);
  EXPECT_EQ(platform::ToInt16(32767.4), 32767);
  EXPECT_FALSE(platform::ToInt16(32767.6).has_value());
  EXPECT_FALSE(platform::ToInt32(1e10).has_value());
}

}  // namespace
