// Code 39 as drawn into the window, judged by the published symbol table and
// by two independent decoders.
#include "support/decode.h"
#include "support/form_fixture.h"
#include "symbologies/retail/code39.h"

#include <map>

namespace {

using test_support::DarkLightRuns;
using test_support::Decode;

// The published Code 39 table: nine elements (bar, space, ... bar), 1 = wide.
const std::map<QChar, const char*> kPublished = {
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'*', "010010100"},
    {'$', "010101000"}, {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"},
};

// The expected runs of a whole symbol: *TEXT*, narrow = unit, wide = 2 units,
// one narrow gap between characters.
std::vector<int> ExpectedRuns(const QString& text, int unit) {
  std::vector<int> runs;
  const QString symbol = QLatin1Char('*') + text + QLatin1Char('*');
  for (qsizetype i = 0; i < symbol.size(); ++i) {
    if (i > 0) runs.push_back(unit);
    for (const char* e = kPublished.at(symbol.at(i)); *e; ++e) runs.push_back(*e == '1' ? 2 * unit : unit);
  }
  return runs;
}

class Code39Test : public test_support::FormTest {
 protected:
  void SetUp() override { form().Option2->setChecked(true); }
  QImage Generate(const QString& text) {
    form().Text1->setText(text);
    return form().FinishedPicture();
  }
};

TEST_F(Code39Test, EveryTableCharacterDrawsThePublishedWidths) {
  QString all;
  for (const auto& [c, pattern] : kPublished)
    if (c != QLatin1Char('*')) all += c;
  for (const double height : {1.4, 2.0, 3.0}) {
    form().Text8->setText(QString::number(height));
    const QImage img = Generate(all);
    ASSERT_FALSE(img.isNull());
    const int unit = std::max(1, static_cast<int>(std::nearbyint(height * 40 / 40)));
    EXPECT_EQ(DarkLightRuns(img, 2), ExpectedRuns(all, unit)) << "height " << height;
    // The first bar starts one unit in; the picture ends after the trailing gap.
    int first = 0;
    while (qGray(img.pixel(first, 2)) > 128) ++first;
    EXPECT_EQ(first, unit);
  }
}

TEST_F(Code39Test, UnitWidthIsTheScaleHeightOverFortyRoundedHalfToEven) {
  const std::pair<int, int> cases[] = {{59, 1}, {100, 2}, {140, 4}, {10, 1}, {56, 1}, {80, 2}};
  for (const auto& [height, unit] : cases) {
    platform::PictureBox box(nullptr, 0, 0, 1500, height * 15.0);
    QString text = QStringLiteral("1");
    ASSERT_TRUE(retail::DrawCode39(text, box, 0).drawn);
    EXPECT_EQ(DarkLightRuns(box.Image(), 0), ExpectedRuns(QStringLiteral("1"), unit)) << height;
  }
}

TEST_F(Code39Test, PictureWidthFollowsTheSymbolWithAndWithoutTheTextLine) {
  // "A": start, A, stop = 39 units plus the trailing gap; with the text line
  // the area ends one unit later (41 pixels); without it the first width
  // stays, 3 x 16.5 = 49.5 pixels, which snaps to 50.
  form().Check2->SetValue(1);
  Generate(QStringLiteral("A"));
  EXPECT_EQ(form().Picture1->PixelWidth(), 41);
  form().Check2->SetValue(0);
  form().Command1_Click();
  EXPECT_EQ(form().Picture1->PixelWidth(), 50);
  EXPECT_EQ(form().Picture2->Picture().width(), 50);
}

TEST_F(Code39Test, TextLineShowsTheUpperCasedTextUnderTheBars) {
  form().Check2->SetValue(1);
  const QImage img = Generate(QStringLiteral("abc"));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(form().Text1->text(), QStringLiteral("abc"));  // the box keeps what was typed
  // Bars stop 1.5 text heights above the bottom; the text sits below them.
  const int textHeight = static_cast<int>(form().Picture1->TextHeight(QStringLiteral("ABC")));
  const int barBottom = img.height() - static_cast<int>(1.5 * textHeight);
  EXPECT_EQ(DarkLightRuns(img, barBottom - 1), ExpectedRuns(QStringLiteral("ABC"), 1));
  int inked = 0;
  for (int y = barBottom + 1; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) inked += qGray(img.pixel(x, y)) < 128;
  EXPECT_GT(inked, 20);
}

TEST_F(Code39Test, DecodersReadTypicalAndAwkwardTexts) {
  const QString texts[] = {
      QStringLiteral("0123456789"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
      QStringLiteral("-. $/+%"),    QStringLiteral("hello world"),
      QStringLiteral("A"),          QStringLiteral(" LEADING AND TRAILING "),
      QStringLiteral("a1-b2.c3"),   QStringLiteral("ORDER/2026+17%$"),
      QStringLiteral("LONG CODE 39 TEXT 0123456789 ABCDEFGHIJ"),
  };
  for (const int textLine : {0, 1}) {
    for (const QString& height : {QStringLiteral("1.4"), QStringLiteral("2")}) {
      form().Check2->SetValue(textLine);
      form().Text8->setText(height);
      for (const QString& text : texts) {
        const QImage img = Generate(text);
        ASSERT_FALSE(img.isNull()) << text.toStdString();
        const auto d = Decode(img, QStringLiteral("code39"), text.toUpper());
        EXPECT_EQ(d.exitCode, 0) << text.toStdString() << " line " << textLine << " height "
                                 << height.toStdString() << "\n" << d.output.toStdString();
      }
    }
  }
}

TEST_F(Code39Test, DecodersReadTheSymbolAtOnePixelPerModuleToo) {
  const QImage img = Generate(QStringLiteral("CODE-39 1:1"));
  EXPECT_TRUE(img.isNull());  // ':' is not in the table
  const QImage plain = Generate(QStringLiteral("CODE-39 11"));
  const auto d = Decode(plain, QStringLiteral("code39"), QStringLiteral("CODE-39 11"), 1);
  EXPECT_EQ(d.exitCode, 0) << d.output.toStdString();
}

TEST_F(Code39Test, CharactersOutsideTheTableGiveNoBarcodeAndSayWhich) {
  for (const auto& [text, bad] : std::vector<std::pair<QString, QString>>{
           {QStringLiteral("A#B"), QStringLiteral("\"#\" (character 2)")},
           {QStringLiteral("AB*C"), QStringLiteral("\"*\" (character 3)")},
           {QStringLiteral("ok!"), QStringLiteral("\"!\" (character 3)")},
           {QString::fromUtf8("caf\u00e9"), QString::fromUtf8("\"\u00c9\" (character 4)")},
           {QStringLiteral("#@!"), QStringLiteral("\"#\" (character 1)")}}) {
    form().Text1->setText(QStringLiteral("VALID"));
    ASSERT_TRUE(form().Picture2->HasPicture());
    form().Text1->setText(text);
    EXPECT_FALSE(form().Picture2->HasPicture()) << text.toStdString();
    EXPECT_TRUE(form().FinishedPicture().isNull());
    EXPECT_TRUE(form().LastProblem().contains(bad)) << form().LastProblem().toStdString();
    EXPECT_FALSE(form().LabelHint->isHidden());
    EXPECT_TRUE(dialogs.shown.empty());  // a hint in the window, not a message box
  }
  form().Text1->setText(QStringLiteral("FINE"));
  EXPECT_TRUE(form().LabelHint->isHidden());
}

}  // namespace
