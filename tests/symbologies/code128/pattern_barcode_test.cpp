// The table-driven encoders against the published tables, and the pattern
// drawn on a picture area read back module by module.
#include "symbologies/code128/pattern_barcode.h"

#include "support/form_fixture.h"
#include "support/scripted_dialogs.h"
#include "symbologies/code128/reference.h"

#include <gtest/gtest.h>

namespace {

using code128::BarPattern;
using code128::DrawPatternBarcode;
using code128::EncodeCode128B;
using code128::EncodeInterleaved2of5;
using code128_test::ModulesOfRow;
using code128_test::ReferenceCode128B;
using code128_test::ReferenceInterleaved2of5;
using code128_test::Widths;

std::vector<int> Digits(const BarPattern& p) {
  std::vector<int> v;
  for (const char c : p) v.push_back(c - '0');
  return v;
}

TEST(PatternEncoders, WorkedExamplesGiveThePublishedPatterns) {
  EXPECT_EQ(EncodeCode128B(QStringLiteral("A")), BarPattern("211214" "111323" "131123" "2331112"));
  EXPECT_EQ(EncodeInterleaved2of5(QStringLiteral("1234")),
            BarPattern("1111" "3113111133" "3131131113" "311"));
  EXPECT_EQ(EncodeInterleaved2of5(QString()), BarPattern("1111" "311"));
  // Lower-case l is value 76, upper-case I value 41; only-unencodable text
  // leaves the check value 104 mod 103 = 1.
  EXPECT_EQ(Digits(*EncodeCode128B(QStringLiteral("l"))), ReferenceCode128B("l"));
  EXPECT_EQ(Digits(*EncodeCode128B(QStringLiteral("I"))), ReferenceCode128B("I"));
  EXPECT_EQ(EncodeCode128B(QString::fromUtf8("\t\u00e9\u20ac")), BarPattern("211214" "222122" "2331112"));
}

TEST(PatternEncoders, Interleaved2of5MatchesThePublishedTableForEveryDigitPair) {
  std::string digits;
  for (int a = 0; a < 10; ++a) digits += std::to_string(a) + std::to_string((a * 7 + 3) % 10);
  for (std::size_t n = 2; n <= 20; n += 2) {
    const std::string t = digits.substr(digits.size() - n);
    EXPECT_EQ(Widths(Digits(*EncodeInterleaved2of5(QString::fromStdString(t)))), Widths(ReferenceInterleaved2of5(t)));
  }
}

TEST(PatternEncoders, TextsWithoutACompleteSymbolAreRefused) {
  for (const char* t : {"12a4", "1x", "123", "1234567890123456789012", "\xd9\xa1\xd9\xa2"})
    EXPECT_FALSE(EncodeInterleaved2of5(QString::fromUtf8(t)).has_value()) << t;
  // Value times position must stay within 16 bits: "~" (94) at position 348
  // gives 32712, at 349 it would give 32806.
  EXPECT_TRUE(EncodeCode128B(QString(347, QLatin1Char(' ')) + QLatin1Char('~')).has_value());
  EXPECT_FALSE(EncodeCode128B(QString(348, QLatin1Char(' ')) + QLatin1Char('~')).has_value());
}

class DrawPatternTest : public ::testing::Test {
 protected:
  DrawPatternTest() : box(nullptr, 0, 0, 6615, 1095) { box.SetScaleMode(platform::ScaleMode::Pixels); }
  symbologies::Outcome Draw(const QString& selector, QString& text, int check2 = 0, std::int16_t module = 2) {
    box.Cls();
    return DrawPatternBarcode(selector, text, box, module, 14, 1, 20, check2, dialogs);
  }
  platform::PictureBox box;
  test_support::ScriptedDialogs dialogs;
};

TEST_F(DrawPatternTest, BarsAndSpacesCoverWholeModulesFromTheLeftEdge) {
  for (const std::int16_t module : {1, 2, 3}) {
    QString text = QStringLiteral("Zz 9~");
    ASSERT_TRUE(Draw(QStringLiteral("128"), text, 0, module).drawn);
    EXPECT_EQ(Widths(ModulesOfRow(box.Image(), 27, module)), Widths(ReferenceCode128B("Zz 9~"))) << module;
    EXPECT_EQ(qGray(box.Image().pixel(0, 27)), 255);
    EXPECT_EQ(qGray(box.Image().pixel(1, 27)), 0);  // the first bar at left
    // Bars from top to top + bar height, both included.
    EXPECT_EQ(qGray(box.Image().pixel(1, 19)), 255);
    EXPECT_EQ(qGray(box.Image().pixel(1, 20)), 0);
    EXPECT_EQ(qGray(box.Image().pixel(1, 34)), 0);
    EXPECT_EQ(qGray(box.Image().pixel(1, 35)), 255);
  }
  QString digits = QStringLiteral("1234");
  ASSERT_TRUE(Draw(QStringLiteral("25"), digits).drawn);
  EXPECT_EQ(Widths(ModulesOfRow(box.Image(), 27, 2)), "1111" "3113111133" "3131131113" "311");
}

TEST_F(DrawPatternTest, OddDigitCountsArePaddedInTheCallersTextAndPrinted) {
  const double sizeBefore = box.FontSize();
  QString text = QStringLiteral("123");
  ASSERT_TRUE(Draw(QStringLiteral("25"), text).drawn);
  EXPECT_EQ(text, QStringLiteral("1230"));
  EXPECT_EQ(Widths(ModulesOfRow(box.Image(), 27, 2)), Widths(ReferenceInterleaved2of5("1230")));
  EXPECT_EQ(box.FontSize(), sizeBefore);  // no text line: the font is left alone
  for (int y = 36; y < box.PixelHeight(); ++y) ASSERT_TRUE(ModulesOfRow(box.Image(), y, 1).empty()) << y;

  ASSERT_TRUE(Draw(QStringLiteral("25"), text, 1).drawn);
  EXPECT_EQ(box.FontSize(), 16);
  // The text line starts at y = 20 * 1.2 + 14 = 38, from the left edge.
  int inkTop = -1;
  for (int y = 35; y < box.PixelHeight() && inkTop < 0; ++y)
    if (!ModulesOfRow(box.Image(), y, 1).empty()) inkTop = y;
  EXPECT_GE(inkTop, 38);
  EXPECT_LE(inkTop, 38 + 8);
}

TEST_F(DrawPatternTest, AnUnknownSelectorDrawsThePreviousPatternAgain) {
  QString text = QStringLiteral("42");
  ASSERT_TRUE(Draw(QStringLiteral("25"), text).drawn);
  const QImage first = box.Image();
  QString other = QStringLiteral("99");
  ASSERT_TRUE(Draw(QStringLiteral("39"), other).drawn);
  EXPECT_EQ(box.Image(), first);
  EXPECT_EQ(other, QStringLiteral("99"));
}

}  // namespace
