// The device-context Code 128 renderer: validation, symbol and layout, read
// back from the pixels it draws.
#include "symbologies/code128/dc_code128.h"

#include "symbologies/code128/reference.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

namespace gdi = platform::gdi;
using code128::Code128Spec;
using code128_test::ModulesOfRow;
using namespace Qt::StringLiterals;

constexpr QRgb kGrey = 0xFF808080;
const std::string kA = "211214" "111323" "131123" "2331112";

// The record the window fills for "Code 128 B".
Code128Spec WindowSpec(const QString& data, const QString& caption = {}) {
  return {.Data = data, .Reserved1 = {}, .Reserved2 = {}, .Caption = caption,
          .FontName = u"MS Sans Serif"_s, .Symbology = 16, .Alignment = 1, .TextPosition = 1,
          .FontSize = 8, .BarHeight = 40, .Left = 2, .Top = 1, .ModuleWidth = 1, .TextGap = 4,
          .BackColor = gdi::RGB(255, 255, 255), .CheckCharacter = 1};
}

QImage Canvas() {
  QImage img(240, 90, QImage::Format_RGB32);
  img.fill(kGrey);
  return img;
}

struct Drawn { std::int32_t result; Code128Spec spec; QImage image; };

Drawn Render(const Code128Spec& spec) {
  Drawn d{0, spec, Canvas()};
  gdi::DeviceContext dc(d.image);
  d.result = code128::DrawCode128(d.spec, dc);
  return d;
}

// The bounding box of pixels from row top up to bottom (-1: all) that are
// dark (or, with painted, not the canvas grey).
QRect InkBox(const QImage& img, int top = 0, int bottom = -1, bool painted = false) {
  QRect box;
  for (int y = top; y < (bottom < 0 ? img.height() : bottom); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (painted ? img.pixel(x, y) != kGrey : qGray(img.pixel(x, y)) < 100) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(DcCode128, WorkedExampleBelowAndOnTop) {
  Code128Spec s = WindowSpec(u"A"_s, u"A"_s);
  const Drawn d = Render(s);
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.spec.TotalWidth, 46);
  EXPECT_EQ(d.spec.TotalHeight, 59);
  // Box (2, 1, 48, 60) through the null pen: x 2 to 48, y 1 to 58.
  EXPECT_EQ(InkBox(d.image, 0, -1, true), QRect(QPoint(2, 1), QPoint(48, 58)));
  EXPECT_EQ(ModulesOfRow(d.image, 1, 1), kA);
  EXPECT_EQ(InkBox(d.image, 0, 41), QRect(QPoint(2, 1), QPoint(47, 40)));
  // The text centred in the rectangle (2, 45, 48, 58).
  const QRect text = InkBox(d.image, 41);
  EXPECT_TRUE(!text.isEmpty() && QRect(QPoint(2, 45), QPoint(47, 57)).contains(text));
  EXPECT_NEAR(text.center().x(), 25, 2);
  // "TOP", text height 13: the text in rows 1 to 17, bars from 1 + 13 + 4 + 1 = 19 to 58.
  s.TextPosition = 2;
  const Drawn top = Render(s);
  EXPECT_EQ(InkBox(top.image, 18), QRect(QPoint(2, 19), QPoint(47, 58)));
  EXPECT_EQ(ModulesOfRow(top.image, 19, 1), kA);
  const QRect above = InkBox(top.image, 0, 18);
  EXPECT_TRUE(!above.isEmpty() && above.top() >= 1 && above.bottom() <= 17);
  EXPECT_EQ(top.spec.TotalHeight, 59);
}

TEST(DcCode128, SymbolValuesCheckCharacterAndModuleWidth) {
  // 185 FNC 1, 127 DEL, 179 FNC 3, 178 FNC 2, 188 FNC 4.
  const std::tuple<QByteArray, std::vector<int>, bool, int> cases[] = {
      {"A", {33}, false, 1}, {"\xb9" "A", {102, 33}, true, 1}, {"\x7f\xb3\xb2\xbc", {95, 96, 97, 100}, true, 1},
      {"?", {31}, true, 1},  {"Hi!", {40, 73, 1}, true, 3}};
  for (const auto& [ansi, values, check, module] : cases) {
    Code128Spec s = WindowSpec(QString::fromLatin1(ansi));
    s.CheckCharacter = check;
    s.ModuleWidth = module;
    const Drawn d = Render(s);
    ASSERT_EQ(d.result, 0) << ansi.toHex().toStdString();
    EXPECT_EQ(ModulesOfRow(d.image, 20, module), code128_test::Ref128(values, check));
    EXPECT_EQ(d.spec.TotalWidth, module * (11 * (static_cast<int>(values.size()) + check + 1) + 13));
    EXPECT_EQ(d.spec.TotalHeight, 41);  // no caption: bar height + 1
  }
}

TEST(DcCode128, ResultCodesAndRecordsThatDrawNothing) {
  using Change = void (*)(Code128Spec&);
  const std::pair<Change, std::int32_t> cases[] = {
      {[](Code128Spec& s) { s.ModuleWidth = 0; }, 54541}, {[](Code128Spec& s) { s.BarHeight = -1; }, 54542},
      {[](Code128Spec& s) { s.Symbology = 15; }, 54543}, {[](Code128Spec& s) { s.FontSize = 0; }, 54544},
      {[](Code128Spec& s) { s.Orientation = 4; }, 54544}, {[](Code128Spec& s) { s.Alignment = 0; }, 54546},
      {[](Code128Spec& s) { s.TextPosition = 3; }, 54547}, {[](Code128Spec& s) { s.Data = u"a\tb"_s; }, 54548},
      {[](Code128Spec& s) { s.Data = u"caf\u00e9"_s; }, 54548}, {[](Code128Spec& s) { s.Data = u"\x10"_s; }, 54548},
      {[](Code128Spec& s) { s.Data = u"A\u0101"_s; }, 54548},  // not drawn as "?"
      // The first failing record test wins; a bad character overrides it.
      {[](Code128Spec& s) { s.Alignment = 9; s.FontSize = 0; }, 54546},
      {[](Code128Spec& s) { s.Symbology = 15; s.Data = u"\t"_s; }, 54548},
      // Nothing to draw; other orientations leave the totals alone.
      {[](Code128Spec& s) { s.Data.clear(); }, 0}, {[](Code128Spec& s) { s.Orientation = 1; s.Caption.clear(); }, 0},
  };
  for (const auto& [change, code] : cases) {
    Code128Spec s = WindowSpec(u"OK"_s, u"OK"_s);
    change(s);
    const Drawn d = Render(s);
    EXPECT_EQ(d.result, code) << s.Data.toStdString();
    EXPECT_EQ(d.image, Canvas()) << code;
    EXPECT_EQ(d.spec.TotalWidth, 0);
  }
}

TEST(DcCode128, ACaptionWiderThanTheSymbolWidensTheBoxAndCentresTheBars) {
  const Drawn d = Render(WindowSpec(u"A"_s, u"A caption much wider than A"_s));
  const int total = d.spec.TotalWidth;
  EXPECT_EQ(d.spec.TotalHeight, 59);
  EXPECT_EQ(InkBox(d.image, 0, -1, true), QRect(QPoint(2, 1), QPoint(2 + total, 58)));
  const QRect bars = InkBox(d.image, 1, 41);
  EXPECT_NEAR(bars.left() - 2, 2 + total - (bars.right() + 1), 1);
  EXPECT_EQ(ModulesOfRow(d.image, 20, 1), kA);
  const QRect text = InkBox(d.image, 41);
  EXPECT_TRUE(text.left() >= 2 && text.right() <= 2 + total && text.width() > 46);
  EXPECT_NEAR(text.center().x(), 2 + total / 2.0, 3);
}

TEST(DcCode128, JustifySpreadsDataNotCaptionAndOnlyWithACaption) {
  Code128Spec s = WindowSpec(u"1111"_s, u"1111"_s);
  s.Alignment = 2;
  const QRect centred = InkBox(Render(s).image, 41);
  s.Alignment = 4;
  const QImage justified = Render(s).image;
  // Over the symbol, 2 + 11 * 6 + 13 = 81 wide.
  const QRect spread = InkBox(justified, 41);
  EXPECT_GT(spread.width(), 2 * centred.width());
  EXPECT_TRUE(spread.left() <= 6 && spread.right() <= 81);
  s.Caption = u"x"_s;
  EXPECT_EQ(Render(s).image, justified);
  s.Caption.clear();
  EXPECT_TRUE(InkBox(Render(s).image, 41).isEmpty());
}

TEST(DcCode128, TheCaptionShowsAmpersandsAsTheyAre) {
  const QRect area(2, 45, 79, 13);  // the caption's rectangle under the bars of "ABCD"
  for (const char* text : {"A&B", "a&b&&c", "&&", "AB&"}) {
    QImage img = Canvas();  // the text as it is, in the caption's font and place
    gdi::DeviceContext dc(img);
    gdi::LOGFONTA lf{.lfHeight = -11, .lfWeight = 400, .lfQuality = 1};
    std::strcpy(lf.lfFaceName, "MS Sans Serif");
    dc.SelectObject(dc.CreateFontIndirectA(lf));
    gdi::RECT r{2, 45, 81, 58};
    dc.DrawTextA(text, -1, &r, gdi::DT_CENTER | gdi::DT_NOPREFIX);
    EXPECT_EQ(InkBox(Render(WindowSpec(u"ABCD"_s, QString::fromLatin1(text))).image.copy(area)), InkBox(img.copy(area)))
        << text;
  }
}

}  // namespace
