// The device-context Code 128 renderer: validation, symbol and layout, read
// back from the pixels it draws.
#include "symbologies/code128/dc_code128.h"

#include "support/form_fixture.h"
#include "symbologies/code128/reference.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

namespace gdi = platform::gdi;
using code128::Code128Spec;
using code128::DrawCode128;
using code128_test::ModulesOfRow;
using code128_test::ReferenceCode128B;
using code128_test::ReferenceCode128Values;
using code128_test::Widths;

constexpr QRgb kGrey = 0xFF808080;

// The record the window fills for "Code 128 B".
Code128Spec WindowSpec(const QString& data, const QString& caption) {
  Code128Spec s;
  s.Data = data;
  s.Caption = caption;
  s.FontName = QStringLiteral("MS Sans Serif");
  s.Symbology = 16;
  s.Alignment = 1;
  s.TextPosition = 1;
  s.FontSize = 8;
  s.BarHeight = 40;
  s.Left = 2;
  s.Top = 1;
  s.ModuleWidth = 1;
  s.TextGap = 4;
  s.Reserved3 = 1;
  s.Reserved4 = 1;
  s.BarColor = gdi::RGB(0, 0, 0);
  s.BackColor = gdi::RGB(255, 255, 255);
  s.TextColor = gdi::RGB(0, 0, 0);
  s.CheckCharacter = 1;
  return s;
}

QImage Canvas(int w = 240, int h = 90) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(kGrey);
  return img;
}

struct Drawn {
  std::int32_t result;
  Code128Spec spec;
  QImage image;
};

Drawn Render(Code128Spec spec, int w = 240, int h = 90) {
  QImage img = Canvas(w, h);
  gdi::DeviceContext dc(img);
  const std::int32_t result = DrawCode128(spec, dc);
  return {result, spec, img};
}

bool Dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 100; }

// The bounding box of dark pixels in rows [top, bottom).
QRect InkBox(const QImage& img, int top, int bottom) {
  QRect box;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < img.width(); ++x)
      if (Dark(img, x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

// The font the window's record asks for, on a context of its own.
gdi::HFONT WindowFont(gdi::DeviceContext& dc) {
  gdi::LOGFONTA lf;
  lf.lfHeight = -11;
  lf.lfWeight = 400;
  lf.lfQuality = 1;
  std::strcpy(lf.lfFaceName, "MS Sans Serif");
  return dc.CreateFontIndirectA(lf);
}

TEST(DcCode128, WorkedExampleBoxBarsTextAndTotals) {
  const Drawn d = Render(WindowSpec(QStringLiteral("A"), QStringLiteral("A")));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.spec.TotalWidth, 46);
  EXPECT_EQ(d.spec.TotalHeight, 59);
  const QImage& img = d.image;
  // Box (2, 1, 48, 60) filled through the null pen: x 2 to 48, y 1 to 58.
  EXPECT_TRUE(QRect(QPoint(2, 1), QPoint(48, 58)).contains(InkBox(img, 0, 90)));
  for (int y = 1; y <= 58; ++y) {
    EXPECT_NE(img.pixel(2, y), kGrey) << y;
    EXPECT_NE(img.pixel(48, y), kGrey) << y;
    EXPECT_EQ(img.pixel(1, y), kGrey) << y;
    EXPECT_EQ(img.pixel(49, y), kGrey) << y;
  }
  for (int x = 2; x <= 48; ++x) {
    EXPECT_EQ(img.pixel(x, 0), kGrey) << x;
    EXPECT_NE(img.pixel(x, 58), kGrey) << x;
    EXPECT_EQ(img.pixel(x, 59), kGrey) << x;
  }
  // Bars from x 2, rows 1 to 40.
  EXPECT_EQ(Widths(ModulesOfRow(img, 1, 1)), "211214" "111323" "131123" "2331112");
  EXPECT_EQ(Widths(ModulesOfRow(img, 40, 1)), "211214" "111323" "131123" "2331112");
  EXPECT_TRUE(Dark(img, 2, 1));
  EXPECT_FALSE(Dark(img, 2, 41));
  // The text in the rectangle (2, 45, 48, 58), centred.
  const QRect text = InkBox(img, 41, 90);
  ASSERT_FALSE(text.isEmpty());
  EXPECT_TRUE(QRect(QPoint(2, 45), QPoint(47, 57)).contains(text)) << text.x() << "," << text.y() << " "
                                                                     << text.width() << "x" << text.height();
  EXPECT_NEAR(text.center().x(), 25, 2);
}

TEST(DcCode128, CheckCharacterAndSpecialCharacterValues) {
  Code128Spec s = WindowSpec(QStringLiteral("A"), {});
  s.CheckCharacter = 0;
  Drawn d = Render(s);
  EXPECT_EQ(Widths(ModulesOfRow(d.image, 20, 1)), "211214" "111323" "2331112");
  EXPECT_EQ(d.spec.TotalWidth, 35);
  EXPECT_EQ(d.spec.TotalHeight, 41);  // no caption: bar height + 1

  // 185 and 65: values 102 and 33, check (104 + 102 + 66) mod 103 = 66;
  // 127, 179, 178 and 188: DEL, FNC 3, FNC 2, FNC 4.
  const std::pair<QByteArray, std::vector<int>> cases[] = {
      {QByteArray("\xb9" "A"), {102, 33}},
      {QByteArray("\x7f\xb3\xb2\xbc"), {95, 96, 97, 100}},
      {QByteArray("?"), {31}},
  };
  for (const auto& [ansi, values] : cases) {
    d = Render(WindowSpec(QString::fromLatin1(ansi), {}), 240, 50);
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(Widths(ModulesOfRow(d.image, 20, 1)), Widths(ReferenceCode128Values(values)));
  }
  // Module width 3 scales every element.
  s = WindowSpec(QStringLiteral("Hi!"), {});
  s.ModuleWidth = 3;
  d = Render(s, 400, 50);
  EXPECT_EQ(Widths(ModulesOfRow(d.image, 20, 3)), Widths(ReferenceCode128B("Hi!")));
  EXPECT_EQ(d.spec.TotalWidth, 3 * (11 * 5 + 13));
}

TEST(DcCode128, EveryResultCodeFromARecordThatTriggersItDrawsNothing) {
  using Change = std::function<void(Code128Spec&)>;
  const std::pair<Change, std::int32_t> cases[] = {
      {[](Code128Spec& s) { s.ModuleWidth = 0; }, 54541},
      {[](Code128Spec& s) { s.BarHeight = -1; }, 54542},
      {[](Code128Spec& s) { s.Symbology = 15; }, 54543},
      {[](Code128Spec& s) { s.FontSize = 0; }, 54544},
      {[](Code128Spec& s) { s.FontName.clear(); }, 54544},
      {[](Code128Spec& s) { s.FontStyle = 16; }, 54544},
      {[](Code128Spec& s) { s.Orientation = 4; }, 54544},
      {[](Code128Spec& s) { s.Alignment = 0; }, 54546},
      {[](Code128Spec& s) { s.TextPosition = 3; }, 54547},
      {[](Code128Spec& s) { s.Data = QStringLiteral("a\tb"); }, 54548},
      {[](Code128Spec& s) { s.Data = QString::fromUtf8("caf\u00e9"); }, 54548},
      {[](Code128Spec& s) { s.Data = QString::fromUtf8("\u20ac"); }, 54548},  // code 128
      // Not in the code page: refused, never drawn as "?".
      {[](Code128Spec& s) { s.Data = QString::fromUtf8("A\u0101"); }, 54548},
      {[](Code128Spec& s) { s.Data = QString::fromUtf8("\xf0\x9f\x98\x80"); }, 54548},
      {[](Code128Spec& s) { s.Data = QString(QChar(16)); }, 54548},
      // The first failing record test wins; a bad character overrides it.
      {[](Code128Spec& s) { s.ModuleWidth = 0; s.BarHeight = 0; }, 54541},
      {[](Code128Spec& s) { s.Alignment = 9; s.FontSize = 0; }, 54546},
      {[](Code128Spec& s) { s.FontSize = 0; s.Symbology = 1; }, 54544},
      {[](Code128Spec& s) { s.Symbology = 15; s.Data = QStringLiteral("\t"); }, 54548},
  };
  for (const auto& [change, code] : cases) {
    Code128Spec s = WindowSpec(QStringLiteral("OK"), QStringLiteral("OK"));
    change(s);
    const Drawn d = Render(s);
    EXPECT_EQ(d.result, code) << s.Data.toStdString();
    EXPECT_EQ(d.image, Canvas()) << code;
    EXPECT_EQ(d.spec.TotalWidth, 0);
  }
  const Drawn empty = Render(WindowSpec({}, QStringLiteral("caption")));
  EXPECT_EQ(empty.result, 0);
  EXPECT_EQ(empty.image, Canvas());
}

TEST(DcCode128, CaptionOnTopMovesTheBarsDown) {
  Code128Spec s = WindowSpec(QStringLiteral("A"), QStringLiteral("A"));
  s.TextPosition = 2;
  const Drawn d = Render(s);
  ASSERT_EQ(d.result, 0);
  // Text height 13: the text in rows 1 to 17, bars from 1 + 13 + 4 + 1 = 19.
  EXPECT_FALSE(Dark(d.image, 2, 18));
  EXPECT_TRUE(Dark(d.image, 2, 19));
  EXPECT_TRUE(Dark(d.image, 2, 58));
  EXPECT_EQ(Widths(ModulesOfRow(d.image, 19, 1)), "211214" "111323" "131123" "2331112");
  const QRect text = InkBox(d.image, 0, 19);
  ASSERT_FALSE(text.isEmpty());
  EXPECT_GE(text.top(), 1);
  EXPECT_LE(text.bottom(), 17);
  EXPECT_EQ(d.spec.TotalHeight, 59);
  EXPECT_EQ(d.spec.TotalWidth, 46);
}

TEST(DcCode128, ACaptionWiderThanTheSymbolWidensTheBoxAndCentresTheBars) {
  const Drawn d = Render(WindowSpec(QStringLiteral("A"), QStringLiteral("A caption much wider than A")));
  ASSERT_EQ(d.result, 0);
  const int total = d.spec.TotalWidth;
  EXPECT_GT(total, 100);
  EXPECT_EQ(d.spec.TotalHeight, 59);
  // Box from x 2 to 2 + TotalWidth.
  EXPECT_NE(d.image.pixel(2 + total, 30), kGrey);
  EXPECT_EQ(d.image.pixel(3 + total, 30), kGrey);
  // Bars centred in the box (the rounding may leave one pixel).
  const QRect bars = InkBox(d.image, 1, 41);
  EXPECT_EQ(bars.width(), 46);
  EXPECT_NEAR(bars.left() - 2, 2 + total - (bars.right() + 1), 1);
  EXPECT_EQ(Widths(ModulesOfRow(d.image, 20, 1)), "211214" "111323" "131123" "2331112");
  // The text, from the left edge of the box, is centred in it and wider than the bars.
  const QRect text = InkBox(d.image, 41, 90);
  EXPECT_GE(text.left(), 2);
  EXPECT_LE(text.right(), 2 + total);
  EXPECT_GT(text.width(), 46);
  EXPECT_NEAR(text.center().x(), 2 + total / 2.0, 3);
}

TEST(DcCode128, JustifySpreadsDataNotCaptionAndOnlyWithACaption) {
  Code128Spec s = WindowSpec(QStringLiteral("1111"), QStringLiteral("1111"));
  s.Alignment = 2;
  const QRect centred = InkBox(Render(s).image, 41, 90);
  s.Alignment = 4;
  const Drawn justified = Render(s);
  const QRect spread = InkBox(justified.image, 41, 90);
  // Symbol 2 + 11 * 6 + 13 = 81 wide: the four characters spread over it.
  EXPECT_GT(spread.width(), 2 * centred.width());
  EXPECT_LE(spread.right(), 2 + 79);
  EXPECT_LE(spread.left(), 6);
  // What is drawn is Data: another (narrow) caption changes nothing.
  s.Caption = QStringLiteral("x");
  EXPECT_EQ(Render(s).image, justified.image);
  s.Caption.clear();
  EXPECT_TRUE(InkBox(Render(s).image, 41, 90).isEmpty());
}

TEST(DcCode128, AmpersandsUnderlineTheNextCharacterAndTwoDrawOne) {
  // The text rectangle of a caption narrower than the symbol "ABCD": below
  // the bars, from x 2 to the end of the stop.
  const gdi::RECT rect{2, 45, 2 + 11 * 6 + 13, 58};
  const auto reference = [&rect](const char* text) {
    QImage img = Canvas();
    gdi::DeviceContext dc(img);
    dc.SelectObject(WindowFont(dc));
    gdi::RECT r = rect;
    dc.DrawTextA(text, -1, &r, gdi::DT_CENTER | gdi::DT_NOPREFIX);
    return img.copy(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  };
  const auto caption = [&rect](const char* text) {
    const QImage img = Render(WindowSpec(QStringLiteral("ABCD"), QString::fromLatin1(text))).image;
    return img.copy(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  };
  const auto ink = [](const QImage& img) { return InkBox(img, 0, img.height()); };
  EXPECT_EQ(ink(caption("A&&B")), ink(reference("A&B")));
  EXPECT_GT(ink(reference("A&B")).width(), ink(reference("AB")).width());

  // "A&B": drawn as "AB" with a line under the B, below the baseline.
  const QImage underlined = caption("A&B");
  const QImage plain = reference("AB");
  const QRect plainInk = ink(plain);
  QRect added;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      if (Dark(plain, x, y)) {
        EXPECT_TRUE(Dark(underlined, x, y)) << x << "," << y;
      }
      if (Dark(underlined, x, y) && !Dark(plain, x, y)) added |= QRect(x, y, 1, 1);
    }
  ASSERT_FALSE(added.isEmpty());
  EXPECT_GT(added.top(), plainInk.bottom() - 1);  // under the letters
  EXPECT_LE(added.height(), 2);
  EXPECT_GT(added.left(), plainInk.center().x() - 1);  // under the B only
  EXPECT_GE(added.width(), 5);
}

TEST(DcCode128, OtherOrientationsFillTheBoxOnlyAndKeepTheTotals) {
  Code128Spec s = WindowSpec(QStringLiteral("A"), {});
  s.Orientation = 1;
  s.TotalWidth = 7;
  s.TotalHeight = 9;
  const Drawn d = Render(s);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.spec.TotalWidth, 7);
  EXPECT_EQ(d.spec.TotalHeight, 9);
  EXPECT_TRUE(InkBox(d.image, 0, 90).isEmpty());
}

TEST(DcCode128, TheContextGetsItsFontBackAndKeepsTheTextSettings) {
  QImage img = Canvas();
  QFont entry(QStringLiteral("DejaVu Sans"));
  entry.setPixelSize(30);
  gdi::DeviceContext dc(img, entry);
  gdi::TEXTMETRICA before;
  dc.GetTextMetricsA(&before);
  Code128Spec s = WindowSpec(QStringLiteral("A"), QStringLiteral("A"));
  ASSERT_EQ(DrawCode128(s, dc), 0);
  gdi::TEXTMETRICA after;
  dc.GetTextMetricsA(&after);
  EXPECT_EQ(after.tmHeight, before.tmHeight);
  EXPECT_EQ(dc.SetBkMode(gdi::OPAQUE), gdi::TRANSPARENT);
}

}  // namespace
