#include "platform/numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(Numbers, TypedNumbersAllowBlanksButNotEmptyOrWordsAndHalvesRoundToTheEvenNeighbour) {
  const std::pair<const char*, std::optional<double>> typed[] = {
      {" 1.4 ", 1.4}, {"-2", -2}, {"", {}}, {"   ", {}}, {"1.4x", {}}, {"nan", {}}};
  for (const auto& [text, value] : typed) EXPECT_EQ(platform::ParseNumber(QString::fromLatin1(text)), value) << text;
  EXPECT_EQ(platform::RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(platform::RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(platform::ToInt16(1.475), 1);
  EXPECT_EQ(platform::ToInt16(32767.4), 32767);
  EXPECT_FALSE(platform::ToInt16(32767.6).has_value());
  EXPECT_FALSE(platform::ToInt32(1e10).has_value());
}

}  // namespace
