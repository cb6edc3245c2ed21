// The table-driven encoders against the published tables, and the pattern
// drawn on a picture area read back module by module.
#include "symbologies/code128/pattern_barcode.h"

#include "symbologies/code128/reference.h"

#include <gtest/gtest.h>

namespace {

using namespace code128;
using namespace code128_test;

TEST(PatternEncoders, MatchThePublishedTables) {
  EXPECT_EQ(EncodeCode128B(QStringLiteral("A")), BarPattern("211214" "111323" "131123" "2331112"));
  EXPECT_EQ(EncodeInterleaved2of5(QStringLiteral("1234")), BarPattern("1111" "3113111133" "3131131113" "311"));
  std::string digits;  // every digit in the bars and in the spaces
  for (int a = 0; a < 10; ++a) digits += std::to_string(a) + std::to_string((a * 7 + 3) % 10);
  for (std::size_t n = 0; n <= 20; n += 2) {
    const std::string t = digits.substr(digits.size() - n);
    EXPECT_EQ(EncodeInterleaved2of5(QString::fromStdString(t)), RefI25(t)) << t;
  }
}

TEST(PatternEncoders, TextsWithoutACompleteSymbolAreRefused) {
  for (const char* t : {"12a4", "1x", "123", "1234567890123456789012", "\xd9\xa1\xd9\xa2"})
    EXPECT_FALSE(EncodeInterleaved2of5(QString::fromUtf8(t))) << t;
  // "~" (94) at position 348 weighs 32712; at 349, 32806 exceeds 16 bits.
  EXPECT_TRUE(EncodeCode128B(QString(347, QLatin1Char(' ')) + QLatin1Char('~')));
  EXPECT_FALSE(EncodeCode128B(QString(348, QLatin1Char(' ')) + QLatin1Char('~')));
}

TEST(DrawPattern, BarsAndSpacesCoverWholeModulesFromLeftAndTop) {
  platform::PictureBox box(nullptr, 0, 0, 6615, 1095);
  box.SetScaleMode(platform::ScaleMode::Pixels);
  const auto dark = [&box](int x, int y) { return qGray(box.Image().pixel(x, y)) < 128; };
  for (const std::int16_t module : {1, 2, 3}) {
    QString text = QStringLiteral("Zz 9~");
    box.Cls();
    ASSERT_TRUE(DrawPatternBarcode(QStringLiteral("128"), text, box, module, 14, 1, 20, 0).drawn);
    EXPECT_EQ(ModulesOfRow(box.Image(), 27, module), Ref128B("Zz 9~")) << module;
    // The first bar from (1, 20) to (1, 34), both included.
    EXPECT_TRUE(!dark(0, 27) && dark(1, 27) && !dark(1, 19) && dark(1, 20) && dark(1, 34) && !dark(1, 35));
  }
}

}  // namespace
