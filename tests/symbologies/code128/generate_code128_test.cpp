// "Code 128 B", "Code 128-1" and "Code 2/5" through the window's generate
// command: read by two independent decoders, read back into modules and
// compared with the published tables, and the refusals.
#include "support/decode.h"
#include "symbologies/code128/dc_code128.h"
#include "symbologies/code128/pattern_barcode.h"
#include "symbologies/code128/reference.h"

#include <QSignalBlocker>

namespace {

using namespace code128_test;
using test_support::DarkLightRuns;
using namespace Qt::StringLiterals;

const char* const kWidths[] = {"400", "500", "800", "1600"};

class Code128FormTest : public test_support::WindowTest {
 protected:
  QImage Generate(QRadioButton* option, const QString& text, const char* width = "800", int textLine = 0) {
    option->setChecked(true);
    window().textLineCheck->SetValue(textLine);
    window().stretchWidthBox->setText(QString::fromLatin1(width));
    QSignalBlocker quiet(window().barcodeText);
    window().barcodeText->setText(text);
    quiet.unblock();
    window().generate();
    return window().FinishedPicture();
  }
  // Generates, and both decoders read the picture as expected (default: text).
  void ExpectRead(QRadioButton* option, const QString& text, const char* width, int line, QString expected = {}) {
    if (expected.isEmpty()) expected = text;
    const bool i25 = option == window().interleaved25Choice;  // ZXing reads Interleaved 2 of 5 from 6 digits on
    const auto d = test_support::Decode(Generate(option, text, width, line), i25 ? u"i25"_s : u"code128"_s, expected,
                                        3, i25 && expected.size() < 6 ? u"zbar"_s : u"zbar zxing"_s);
    EXPECT_EQ(d.exitCode, 0) << text.toStdString() << " width " << width << " line " << line << "\n"
                             << d.output.toStdString() << window().LastProblem().toStdString();
  }
};

TEST_F(Code128FormTest, Code128BAnd128_1AreReadByBothDecodersAtEveryStretchWidth) {
  int n = 0;
  for (const char* width : kWidths)
    for (const char* t : {"A", "Hello, World!", " blanks at both ends ", "back\\slash and x  y",
                          "\"double\" 'single' ~", "0123456789", "!#$%&()*+,-./:;<=>?@[]^_`{|}",
                          "abcdefghijklmnopqrstuvwxyz", "The quick brown fox jumps over a lazy do"}) {
      const QString text = QString::fromLatin1(t);
      ExpectRead(window().code128PatternChoice, text, width, ++n % 2);
      // Code 128 B is not stretched: read with and without its text line.
      if (n <= 18) ExpectRead(window().code128BChoice, text, width, n > 9);
    }
  // Check characters 95 to 102 (DEL and the function and code-change characters).
  for (int check = 95; check <= 102; ++check)
    for (int b = 1; b < 95; ++b)
      if (const int a = ((check - 104 - 2 * b) % 103 + 103) % 103; a > 0 && a < 95) {
        const QString t = QString(QChar(a + 32)) + QChar(b + 32);
        ExpectRead(window().code128BChoice, t, "800", 0);
        break;
      }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Code128FormTest, Code25IsReadAtEveryLengthAndStretchWidth) {
  const QString digits = u"31415926535897932384"_s;
  int line = 0;
  for (const char* width : kWidths)
    for (int n = 2; n <= 20; ++n)  // an odd count is read with a "0" added
      ExpectRead(window().interleaved25Choice, digits.left(n), width, line = 1 - line, digits.left(n) + (n % 2 ? u"0"_s : u""_s));
  EXPECT_EQ(window().barcodeText->text(), digits);  // the padding never reaches the text box
}

TEST_F(Code128FormTest, DrawnModulesMatchThePublishedTablesAtEveryWidth) {
  std::string printable;
  for (char c = 32; c < 127; ++c) printable += c;
  const auto widths = {"400", "500", "800", "1200", "1600", "", "wide"};  // no stretch for the last two
  // The 2-pixel modules scaled by width / 800 to whole pixels, the whole
  // symbol at the floor height (the box's 1.4 asks for 14 pixels); the first bar one pixel in as drawn, one module in
  // once stretched.
  const auto expectModules = [&](const QImage& img, const char* width, const std::string& reference) {
    const int value = std::atoi(width);
    const int m = value && value != 800 ? std::max(1, value / 400) : 2;
    const int first = value && value != 800 ? m : 1;
    EXPECT_EQ(ModulesOfRow(img, 27, m), reference) << width;
    EXPECT_TRUE(qGray(img.pixel(first - 1, 27)) == 255 && qGray(img.pixel(first, 27)) == 0) << width;
    int barRows = 0;  // rows 20 to 44: the floor of 24 and the box's bottom row; the text line (row 48 on) aside
    for (int y = 0; y < 48; ++y) barRows += qGray(img.pixel(first, y)) == 0 ? 1 : 0;
    EXPECT_TRUE(barRows == 25 && qGray(img.pixel(first, 20)) == 0) << width << " " << barRows;
  };
  for (const std::string t : {"A", " x ~\\\" ", "The quick brown fox jumps over a lazy do", printable.c_str()}) {
    const QString text = QString::fromStdString(t);
    // Code 128 B: one pixel per module, bars in rows 1 to 40.
    EXPECT_EQ(ModulesOfRow(Generate(window().code128BChoice, text, "800", 1), 20, 1), Ref128B(t)) << t;
    for (const char* width : widths) expectModules(Generate(window().code128PatternChoice, text, width, 1), width, Ref128B(t));
  }
  for (const std::string t : {"1234", "90", "12345678901234567890", "123"})
    for (const char* width : widths)
      expectModules(Generate(window().interleaved25Choice, QString::fromStdString(t), width), width,
                    RefI25(t.size() % 2 ? t + "0" : t));
}

TEST_F(Code128FormTest, RefusalsDrawNothingSayWhyAndKeepTheProgramRunning) {
  const QString slip = code128::kCode128ErrorText, nine = code128::kSubscriptOutOfRange, tooLong = u"too long"_s;
  struct Case {
    QRadioButton* option;
    QString text, message, why;  // the one message box, if any; in the problem shown
    const char* fontSize = "8";
  } const cases[] = {
      // Code 128 B: a typing slip gets a message; nothing is drawn as "?".
      {window().code128BChoice, u"caf\u00e9"_s, slip, u"\"\u00e9\" (character 4)"_s},
      {window().code128BChoice, u"x\u0101"_s, slip, u"\"\u0101\" (character 2)"_s},
      {window().code128BChoice, u"size"_s, slip, u"font size"_s, "0"},
      // Code 128-1: skipping would read less than the text line.
      {window().code128PatternChoice, u"caf\u00e9"_s, {}, u"\"\u00e9\" (character 4)"_s},
      // Code 2/5: error 9 and no partial symbol; one digit draws nothing.
      {window().interleaved25Choice, u"12a4"_s, nine, u"not a digit"_s}, {window().interleaved25Choice, u"7"_s, {}, u"at least two digits (the text has 1)"_s},
      {window().interleaved25Choice, u"123456789012345678901"_s, nine, u"at most 20 digits (the text has 21)"_s},
      // Beyond the 16-bit check arithmetic, or wider than a picture can be.
      {window().code128BChoice, QString(400, u'~'), {}, tooLong}, {window().code128PatternChoice, QString(400, u'~'), {}, tooLong},
      {window().code128BChoice, QString(3000, u' '), {}, tooLong},
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(Generate(c.option, c.option == window().interleaved25Choice ? u"42"_s : u"fine"_s).isNull());
    dialogs.shown.clear();
    window().fontSizeBox->setText(QString::fromLatin1(c.fontSize));
    EXPECT_TRUE(Generate(c.option, c.text, "800", 1).isNull()) << c.text.toStdString();
    window().fontSizeBox->setText(u"8"_s);
    ASSERT_EQ(dialogs.shown.size(), c.message.isEmpty() ? 0u : 1u) << c.text.toStdString();
    EXPECT_TRUE(c.message.isEmpty() || dialogs.shown[0].text == c.message);
    EXPECT_TRUE(window().LastProblem().contains(c.why)) << window().LastProblem().toStdString();
    const auto* area = c.option == window().code128BChoice ? window().Picture1 : window().Picture5;
    EXPECT_TRUE(DarkLightRuns(area->Image(), 27).empty()) << c.text.toStdString();
  }
  EXPECT_FALSE(dialogs.endStatus.has_value());
}

}  // namespace
