// "Code 128 B", "Code 128-1" and "Code 2/5" through the window's generate
// command: read by two independent decoders, read back into modules and
// compared with the published tables, and the refusals.
#include "support/decode.h"
#include "support/form_fixture.h"
#include "symbologies/code128/dc_code128.h"
#include "symbologies/code128/reference.h"

#include <QProcess>
#include <QSignalBlocker>
#include <QTemporaryDir>

namespace {

using code128_test::ModulesOfRow;
using code128_test::ReferenceCode128B;
using code128_test::ReferenceInterleaved2of5;
using code128_test::Widths;
using test_support::DarkLightRuns;
using test_support::Decode;

const int kWidths[] = {400, 500, 800, 1600};

// Pixels per module after the stretch to a width box value: the 2-pixel
// modules scaled by value / 800, kept whole and at least 1.
int ModulePixels(int width) { return std::max(1, static_cast<int>(std::nearbyint(width / 400.0))); }

class Code128FormTest : public test_support::FormTest {
 protected:
  QImage Generate(QRadioButton* option, const QString& text, int width = 800, int textLine = 0) {
    option->setChecked(true);
    form().Check2->SetValue(textLine);
    form().Text9->setText(QString::number(width));
    {
      const QSignalBlocker quiet(form().Text1);
      form().Text1->setText(text);
    }
    form().Command1_Click();
    return form().FinishedPicture();
  }
  static std::string Detail(const QString& text, int width, int line) {
    return QStringLiteral("\"%1\" width %2 line %3").arg(text).arg(width).arg(line).toStdString();
  }
};

const QString kTexts[] = {
    QStringLiteral("A"),
    QStringLiteral("Hello, World!"),
    QStringLiteral(" blanks at both ends "),
    QStringLiteral("back\\slash and x  y"),
    QStringLiteral("\"double\" 'single' ~"),
    QStringLiteral("0123456789"),
    QStringLiteral("!#$%&()*+,-./:;<=>?@[]^_`{|}"),
    QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
    QStringLiteral("The quick brown fox jumps over a lazy do"),  // 40
};

TEST_F(Code128FormTest, Code128BIsReadByBothDecodersWithAndWithoutTheTextLine) {
  for (const int line : {0, 1})
    for (const QString& text : kTexts) {
      const QImage img = Generate(form().Option1, text, 800, line);
      ASSERT_FALSE(img.isNull()) << Detail(text, 800, line) << form().LastProblem().toStdString();
      const auto d = Decode(img, QStringLiteral("code128"), text);
      EXPECT_EQ(d.exitCode, 0) << Detail(text, 800, line) << "\n" << d.output.toStdString();
    }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Code128FormTest, Code128OneIsReadByBothDecodersAtEveryStretchWidth) {
  int line = 0;
  for (const int width : kWidths)
    for (const QString& text : kTexts) {
      if (text.size() < 10 && width == 500) continue;  // short texts at the other widths suffice
      line = 1 - line;
      const QImage img = Generate(form().Option4, text, width, line);
      ASSERT_FALSE(img.isNull()) << Detail(text, width, line);
      const auto d = Decode(img, QStringLiteral("code128"), text);
      EXPECT_EQ(d.exitCode, 0) << Detail(text, width, line) << "\n" << d.output.toStdString();
    }
}

TEST_F(Code128FormTest, Code25IsReadAtEveryLengthAndStretchWidth) {
  const QString digits = QStringLiteral("31415926535897932384");
  int line = 0;
  for (const int width : kWidths)
    for (int n = 2; n <= 20; ++n) {
      const QString text = digits.left(n);
      const QString padded = n % 2 ? text + QLatin1Char('0') : text;
      line = 1 - line;
      const QImage img = Generate(form().Option5, text, width, line);
      ASSERT_FALSE(img.isNull()) << Detail(text, width, line);
      // ZXing reads Interleaved 2 of 5 from 6 digits on.
      const auto d = Decode(img, QStringLiteral("i25"), padded, 3,
                            padded.size() < 6 ? QStringLiteral("zbar") : QStringLiteral("zbar zxing"));
      EXPECT_EQ(d.exitCode, 0) << Detail(text, width, line) << "\n" << d.output.toStdString();
    }
  EXPECT_EQ(form().Text1->text(), digits);  // the padding never reaches the text box
}

TEST_F(Code128FormTest, DrawnModulesMatchThePublishedTablesAtEveryWidth) {
  std::string printable;
  for (char c = 32; c < 127; ++c) printable += c;
  const std::string texts[] = {"A", "Hello, World!", " x ~\\\" ", "The quick brown fox jumps over a lazy do", printable};
  for (const std::string& t : texts) {
    const QString text = QString::fromStdString(t);
    // Code 128 B: one pixel per module, bars in rows 1 to 40.
    const QImage b = Generate(form().Option1, text, 800, 1);
    EXPECT_EQ(Widths(ModulesOfRow(b, 20, 1)), Widths(ReferenceCode128B(t))) << t;
    EXPECT_EQ(test_support::DarkLightRuns(b, 41).size(), 0u) << t;
    for (const int width : {400, 500, 800, 1200, 1600}) {
      const int m = ModulePixels(width);
      const QImage img = Generate(form().Option4, text, width, 1);
      EXPECT_EQ(Widths(ModulesOfRow(img, 27, m)), Widths(ReferenceCode128B(t))) << t << " " << width;
      EXPECT_EQ(img.height(), 73);
      // The first bar starts 1 pixel in as drawn, one module in once stretched.
      const int first = width == 800 ? 1 : m;
      EXPECT_EQ(qGray(img.pixel(first - 1, 27)), 255) << width;
      EXPECT_EQ(qGray(img.pixel(first, 27)), 0) << width;
    }
  }
  for (const std::string t : {"1234", "90", "12345678901234567890", "5"}) {
    const std::string padded = t.size() % 2 ? t + "0" : t;
    for (const int width : {400, 800, 1200, 1600}) {
      const QImage img = Generate(form().Option5, QString::fromStdString(t), width);
      if (t.size() < 2) {
        EXPECT_TRUE(img.isNull());
        continue;
      }
      EXPECT_EQ(Widths(ModulesOfRow(img, 27, ModulePixels(width))), Widths(ReferenceInterleaved2of5(padded)))
          << t << " " << width;
    }
  }
  EXPECT_EQ(Widths(ReferenceInterleaved2of5("1234")), "1111" "3113111133" "3131131113" "311");
}

TEST_F(Code128FormTest, CheckCharactersBeyondTheCharacterValuesAreReadToo) {
  // Texts whose check character is each of the values 95 to 102 (DEL and the
  // function and code-change characters).
  for (int check = 95; check <= 102; ++check) {
    QString found;
    for (int a = 0; a < 95 && found.isEmpty(); ++a)
      for (int b = 0; b < 95 && found.isEmpty(); ++b)
        if ((104 + a + 2 * b) % 103 == check && a != 0 && b != 0)
          found = QString(QChar(a + 32)) + QChar(b + 32);
    ASSERT_FALSE(found.isEmpty());
    const QImage img = Generate(form().Option1, found);
    ASSERT_FALSE(img.isNull());
    const auto d = Decode(img, QStringLiteral("code128"), found);
    EXPECT_EQ(d.exitCode, 0) << check << " " << found.toStdString() << "\n" << d.output.toStdString();
  }
}

TEST_F(Code128FormTest, StretchScalesWidthOnlyAndNothingIsCutOff) {
  const QString text = QStringLiteral("The quick brown fox jumps over a lazy do");
  const QImage plain = Generate(form().Option4, text, 800);
  // 2 * (11 * 42 + 13) pixels from x 1: wider than the 6615-twip area.
  const int symbol = 2 * (11 * 42 + 13);
  EXPECT_GE(plain.width(), 1 + symbol);
  const QImage twice = Generate(form().Option4, text, 1600);
  EXPECT_EQ(twice.height(), plain.height());
  EXPECT_GE(twice.width(), 2 + 2 * symbol);
  EXPECT_EQ(form().Picture5->PixelWidth(), twice.width());
  const auto runs = test_support::DarkLightRuns(twice, 27);
  int covered = 0;
  for (const int r : runs) covered += r;
  EXPECT_EQ(covered, 2 * symbol);
  // No stretch for an empty or non-numeric box: the drawing as drawn.
  // (Picture5 keeps the width of the last stretch.)
  for (const char* box : {"", "wide"}) {
    form().Text9->setText(QString::fromLatin1(box));
    form().Command1_Click();
    const QImage drawn = form().FinishedPicture();
    EXPECT_EQ(drawn.copy(plain.rect()), plain) << box;
    EXPECT_EQ(DarkLightRuns(drawn, 27), DarkLightRuns(plain, 27)) << box;
  }
}

TEST_F(Code128FormTest, Code128BRefusesATypingSlipWithAMessageAndKeepsRunning) {
  const std::pair<QString, QString> slips[] = {
      {QString::fromUtf8("caf\u00e9"), QString::fromUtf8("\"\u00e9\" (character 4)")},
      {QStringLiteral("a\tb"), QStringLiteral("(character 2)")},
      {QString::fromUtf8("x\u0101"), QString::fromUtf8("\"\u0101\" (character 2)")},  // not "?"
  };
  for (const auto& [text, where] : slips) {
    ASSERT_FALSE(Generate(form().Option1, QStringLiteral("fine")).isNull());
    dialogs.shown.clear();
    EXPECT_TRUE(Generate(form().Option1, text).isNull()) << text.toStdString();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("There was an Unknow Error please send an email to support@quillon.example "));
    EXPECT_TRUE(form().LastProblem().contains(where)) << form().LastProblem().toStdString();
    EXPECT_TRUE(test_support::DarkLightRuns(form().Picture1->Image(), 20).empty());
  }
  // Font size 0 is refused the same way; a font size that is not a number is 8.
  dialogs.shown.clear();
  form().Text3->setText(QStringLiteral("0"));
  EXPECT_TRUE(Generate(form().Option1, QStringLiteral("size"), 800, 1).isNull());
  EXPECT_EQ(dialogs.shown.size(), 1u);
  form().Text3->setText(QStringLiteral("big"));
  const QImage fallback = Generate(form().Option1, QStringLiteral("size"), 800, 1);
  form().Text3->setText(QStringLiteral("8"));
  EXPECT_EQ(Generate(form().Option1, QStringLiteral("size"), 800, 1), fallback);
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_FALSE(dialogs.endStatus.has_value());
  EXPECT_FALSE(Generate(form().Option1, QStringLiteral("after")).isNull());
}

TEST_F(Code128FormTest, Code128_1RefusesCharactersItsCodeSetCannotCarry) {
  // Skipped characters would leave a barcode that reads less than its text line.
  for (const auto& [text, where] : std::vector<std::pair<QString, QString>>{
           {QString::fromUtf8("caf\u00e9"), QString::fromUtf8("\"\u00e9\" (character 4)")},
           {QStringLiteral("a\tb"), QStringLiteral("(character 2)")}}) {
    ASSERT_FALSE(Generate(form().Option4, QStringLiteral("fine")).isNull());
    EXPECT_TRUE(Generate(form().Option4, text).isNull()) << text.toStdString();
    EXPECT_FALSE(form().Picture2->HasPicture());
    EXPECT_TRUE(form().LastProblem().contains(where)) << form().LastProblem().toStdString();
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Code128FormTest, Code25ShowsErrorNineForANonDigitAndDrawsNothing) {
  for (const char* t : {"12a4", "123456789012345678901"}) {
    dialogs.shown.clear();
    EXPECT_TRUE(Generate(form().Option5, QString::fromLatin1(t), 500, 1).isNull()) << t;
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("9\r\nSubscript out of range"));
    EXPECT_FALSE(form().LastProblem().isEmpty());
    EXPECT_TRUE(test_support::DarkLightRuns(form().Picture5->Image(), 27).empty());
  }
  dialogs.shown.clear();
  EXPECT_TRUE(Generate(form().Option5, QStringLiteral("7")).isNull());  // one character: nothing, silently
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(dialogs.endStatus.has_value());
}

TEST_F(Code128FormTest, TextsTooLongForTheCheckArithmeticAreRefusedWithAReason) {
  const QString tildes(400, QLatin1Char('~'));
  for (QRadioButton* option : {form().Option1, form().Option4}) {
    EXPECT_TRUE(Generate(option, tildes).isNull());
    EXPECT_TRUE(form().LastProblem().contains(QStringLiteral("too long"))) << form().LastProblem().toStdString();
  }
  EXPECT_TRUE(dialogs.shown.empty());
  // Blanks weigh nothing, but a symbol wider than a picture can be is refused too.
  EXPECT_TRUE(Generate(form().Option1, QString(3000, QLatin1Char(' '))).isNull());
  EXPECT_TRUE(form().LastProblem().contains(QStringLiteral("too long")));
}

TEST_F(Code128FormTest, Code128BKeepsTheCode39SizeUnlessTheDrawingNeedsMore) {
  Generate(form().Option2, QStringLiteral("ABC"));
  const int code39Width = form().Picture1->PixelWidth();
  const QImage img = Generate(form().Option1, QStringLiteral("ABC"));
  EXPECT_EQ(form().Picture1->PixelWidth(), code39Width);
  EXPECT_EQ(img.width(), code39Width);
  // Code 39 cannot draw ",": the area grows to hold the Code 128 symbol.
  const QImage comma = Generate(form().Option1, QStringLiteral("A,B"));
  EXPECT_GE(comma.width(), 2 + 11 * 5 + 13 + 1);
  // A bar height of 1 makes the area 40 pixels high: it grows to hold the
  // bars (rows 1 to 40) and the text line (rows 45 to 57).
  form().Text8->setText(QStringLiteral("1"));
  const QImage low = Generate(form().Option1, QStringLiteral("low"), 800, 1);
  EXPECT_EQ(low.height(), 59);
  EXPECT_EQ(DarkLightRuns(low, 40).size(), DarkLightRuns(low, 1).size());
  int textRows = 0;
  for (int y = 45; y < 58; ++y) textRows += !DarkLightRuns(low, y).empty();
  EXPECT_GT(textRows, 5);
}

TEST_F(Code128FormTest, ExportWritesEachSymbology) {
  QTemporaryDir dir;
  const std::pair<const char*, const char*> cases[] = {
      {"code128b", "code128"}, {"code128-1", "code128"}, {"code25", "i25"}};
  for (const auto& [symbology, decoder] : cases) {
    const QString out = dir.filePath(QString::fromLatin1(symbology) + QStringLiteral(".png"));
    QProcess p;
    p.start(QStringLiteral(QUILLON_BINARY),
            {QStringLiteral("--export"), out, QStringLiteral("--symbology"), QString::fromLatin1(symbology),
             QStringLiteral("--text-line"), QStringLiteral("20260417")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << symbology << p.readAllStandardError().toStdString();
    const auto d = test_support::DecodeFile(out, QString::fromLatin1(decoder), QStringLiteral("20260417"));
    EXPECT_EQ(d.exitCode, 0) << symbology << "\n" << d.output.toStdString();
  }
  QProcess bad;
  bad.start(QStringLiteral(QUILLON_BINARY), {QStringLiteral("--export"), dir.filePath(QStringLiteral("x.png")),
                                             QStringLiteral("--symbology"), QStringLiteral("code25"),
                                             QStringLiteral("12a4")});
  ASSERT_TRUE(bad.waitForFinished(60000));
  EXPECT_EQ(bad.exitCode(), 1);
  EXPECT_TRUE(bad.readAllStandardError().contains("Subscript out of range"));
}

}  // namespace
