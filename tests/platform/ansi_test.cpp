#include "platform/ansi.h"

#include <gtest/gtest.h>

namespace {

TEST(Ansi, MapsWindows1252IncludingItsUpperHalf) {
  const auto a = platform::ToAnsi(QString::fromUtf8("A\u20ac\u00f1\u00b2\u0178"));
  ASSERT_TRUE(a.ok());
  EXPECT_EQ(a.bytes, QByteArray("A\x80\xf1\xb2\x9f"));
  EXPECT_EQ(platform::FromAnsi(QByteArray("\x80\x93x\x94")), QString::fromUtf8("\u20ac\u201cx\u201d"));
}

TEST(Ansi, ReportsTheFirstCharacterTheCodePageCannotHold) {
  const auto a = platform::ToAnsi(QString::fromUtf8("ab\u4e00c\u0416"));
  EXPECT_FALSE(a.ok());
  EXPECT_EQ(a.firstUnmappable, 2);
  // A character outside the basic plane counts from its first half.
  EXPECT_EQ(platform::ToAnsi(QString::fromUtf8("x\U0001F600")).firstUnmappable, 1);
}

}  // namespace
