// Code 39 as drawn into the window, judged by the published symbol table and
// by two independent decoders.
#include "support/decode.h"
#include "support/window_fixture.h"
#include "support/published_tables.h"

namespace {

using test_support::DarkLightRuns;


// The runs of *TEXT*: narrow = unit, wide = 2 units, a narrow gap between characters.
std::vector<int> ExpectedRuns(const QString& text, int unit) {
  std::vector<int> runs;
  const QString symbol = QLatin1Char('*') + text + QLatin1Char('*');
  for (qsizetype i = 0; i < symbol.size(); ++i) {
    if (i > 0) runs.push_back(unit);
    for (const char* e = published::Code39(symbol.at(i).toLatin1()); *e; ++e) runs.push_back(*e == '1' ? 2 * unit : unit);
  }
  return runs;
}

class Code39Test : public test_support::WindowTest {
 protected:
  void SetUp() override { window().code39Choice->setChecked(true); }
  QImage Generate(const QString& text) {
    window().barcodeText->setText(text);
    return window().FinishedPicture();
  }
};

TEST_F(Code39Test, EveryCharacterDrawsThePublishedWidthsAtEachUnit) {
  const QString all = QString::fromLatin1(published::kCode39Chars).chopped(1);  // all but '*'
  // The unit is the inner height (40 pixels a unit of the box; not a number:
  // the initial 1.4) over 40, rounded half to even (100 -> 2, 140 -> 4).
  const std::tuple<const char*, int, int> cases[] = {
      {"1.4", 1, 56}, {"2", 2, 80}, {"2.5", 2, 100}, {"3", 3, 120}, {"3.5", 4, 140}, {"tall", 1, 56}};
  for (const auto& [height, unit, pixels] : cases) {
    window().barHeightBox->setText(QString::fromLatin1(height));
    const QImage img = Generate(all);
    ASSERT_FALSE(img.isNull()) << height;
    EXPECT_EQ(img.height(), pixels) << height;
    EXPECT_EQ(window().Picture1->ScaleHeight(), pixels) << height;
    EXPECT_EQ(DarkLightRuns(img, 2), ExpectedRuns(all, unit)) << height;
    // The first bar is one unit in.
    EXPECT_TRUE(qGray(img.pixel(unit - 1, 2)) > 128 && qGray(img.pixel(unit, 2)) < 128) << height;
  }
}

TEST_F(Code39Test, DecodersReadTypicalAndAwkwardTextsWithAndWithoutTheTextLine) {
  const char* const texts[] = {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "-. $/+%", "hello world", "A",
                               " LEADING AND TRAILING ", "ORDER/2026+17%$", "LONG CODE 39 TEXT 0123456789 ABCDEFGHIJ"};
  for (const int textLine : {0, 1}) {
    window().textLineCheck->SetValue(textLine);
    for (const char* height : {"1.4", "2"}) {
      window().barHeightBox->setText(QString::fromLatin1(height));
      for (const char* text : texts) {
        const auto d = test_support::Decode(Generate(QString::fromLatin1(text)), QStringLiteral("code39"),
                                            QString::fromLatin1(text).toUpper());
        EXPECT_EQ(d.exitCode, 0) << text << " line " << textLine << " height " << height << "\n"
                                 << d.output.toStdString();
      }
    }
  }
}

TEST_F(Code39Test, TheAreaFitsTheSymbolAndTheTextLineGoesUnderTheBars) {
  // "A" with start and stop: 39 units and the trailing gap. With the text line
  // the area ends a unit later; without it keeps 3 x 16.5 = 49.5, snapped to 50.
  window().textLineCheck->SetValue(1);
  const QImage img = Generate(QStringLiteral("a"));
  EXPECT_EQ(img.width(), 41);
  const int barBottom = img.height() - static_cast<int>(1.5 * window().Picture1->TextHeight(QStringLiteral("A")));
  EXPECT_EQ(DarkLightRuns(img, barBottom - 1), ExpectedRuns(QStringLiteral("A"), 1));
  EXPECT_GE(test_support::DarkBox(img.copy(0, barBottom + 1, img.width(), img.height())).width(), 5);  // the text
  window().textLineCheck->SetValue(0);
  window().generate();
  EXPECT_EQ(window().finishedPictureBox->Picture().width(), 50);
}

TEST_F(Code39Test, CharactersOutsideTheTableGiveNoBarcodeAndSayWhich) {
  const std::pair<const char*, const char*> cases[] = {{"A#B", "\"#\" (character 2)"},
                                                       {"AB*C", "\"*\" (character 3)"},
                                                       {"stra\u00dfe", "\"\u00df\" (character 5)"}, {"caf\u00e9", "\"\u00e9\" (character 4)"}};
  for (const auto& [text, why] : cases) {
    Generate(QStringLiteral("VALID"));
    ASSERT_TRUE(window().finishedPictureBox->HasPicture());
    Generate(QString::fromUtf8(text));
    EXPECT_FALSE(window().finishedPictureBox->HasPicture()) << text;
    EXPECT_TRUE(window().LastProblem().contains(QString::fromUtf8(why))) << window().LastProblem().toStdString();
    EXPECT_FALSE(window().LabelHint->isHidden());
  }
  EXPECT_TRUE(dialogs.shown.empty());  // a hint in the window, not a message box
  Generate(QStringLiteral("FINE"));
  EXPECT_TRUE(window().LabelHint->isHidden());
}

}  // namespace
