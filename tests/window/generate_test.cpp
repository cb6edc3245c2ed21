// The generate command, driven headless through the real window and handlers.
#include "support/decode.h"
#include "support/window_fixture.h"
#include "symbologies/code128/dc_code128.h"
#include "symbologies/code128/pattern_barcode.h"

#include <QTest>

namespace {

using test_support::DarkLightRuns;

class GenerateTest : public test_support::WindowTest {
 protected:
  void SetUp() override { window().code39Choice->setChecked(true); }
};

TEST_F(GenerateTest, EveryKeystrokeRegeneratesAndEmptyingClearsEveryArea) {
  window().barcodeText->clear();
  window().barcodeText->setFocus();
  const QString typed = QStringLiteral("AB12");
  for (qsizetype i = 0; i < typed.size(); ++i) {
    QTest::keyClick(window().barcodeText, typed.at(i).toLatin1());
    ASSERT_TRUE(window().finishedPictureBox->HasPicture()) << i;
    // Start, stop and i + 1 characters of five bars each.
    EXPECT_EQ(DarkLightRuns(window().finishedPictureBox->Picture(), 1).size(), static_cast<size_t>(10 * (i + 3) - 1)) << i;
  }
  for (qsizetype i = 0; i < typed.size(); ++i) QTest::keyClick(window().barcodeText, Qt::Key_Backspace);
  for (platform::PictureBox* p : {window().Picture1, window().finishedPictureBox, window().Picture4, window().Picture5,
                                  window().Picture9, window().Picture10, window().Picture22}) {
    EXPECT_FALSE(p->HasPicture());
    EXPECT_TRUE(DarkLightRuns(p->Image(), 0).empty());
  }
  EXPECT_TRUE(window().LabelHint->isHidden());
}

TEST_F(GenerateTest, StartingDrawsNothingTheUserDidNotGive) {
  // A saved Code 2/5 and bar height would have drawn (and refused) the prompt.
  window().interleaved25Choice->setChecked(true);  // saved as it is clicked
  settings.SaveSetting(window::kApp, window::kSection, QStringLiteral("text8"), QStringLiteral("2"));
  Restart();
  EXPECT_TRUE(window().interleaved25Choice->isChecked());
  EXPECT_TRUE(window().LabelHint->isHidden());
  EXPECT_TRUE(window().LastProblem().isEmpty());
  EXPECT_FALSE(window().finishedPictureBox->HasPicture());
  EXPECT_TRUE(dialogs.shown.empty());
  window().barHeightBox->setText(QStringLiteral("3"));  // still nothing typed
  EXPECT_TRUE(window().LabelHint->isHidden());
  window().barcodeText->setText(QString(window().kLongestText + 1, QLatin1Char('7')));  // too long for the box: refused, not cut
  EXPECT_EQ(window().barcodeText->text().size(), window().kLongestText + 1);
  EXPECT_TRUE(window().LastProblem().contains(QStringLiteral("32768 characters"))) << window().LastProblem().toStdString();
}

TEST_F(GenerateTest, NoTypedSizeReachesTheSettingsErrorPath) {
  window().barcodeText->setText(QStringLiteral("SIZE"));
  for (QRadioButton* option : {window().code128BChoice, window().code39Choice, window().code128PatternChoice, window().interleaved25Choice,
                               window().upcAChoice, window().eanChoice}) {
    option->setChecked(true);
    for (const char* value : {"abc", "", "-3", "0", "1e300", "nan", "99999", "1,4"}) {
      window().fontSizeBox->setText(QString::fromLatin1(value));
      window().barHeightBox->setText(QString::fromLatin1(value));
      window().barHeightBox->setText(QStringLiteral("1.4"));
      window().barHeightBox->setText(QString::fromLatin1(value));
    }
  }
  EXPECT_FALSE(dialogs.endStatus.has_value());
  // Code 128 B refusing a font size of 0 and Code 2/5 the letters show in the
  // hint: changing a size box is no explicit command.
  EXPECT_TRUE(dialogs.shown.empty());
}

// Every symbology with a text it takes, how the decoders name it and read it.
struct Symbology {
  QRadioButton* window::MainWindow::*option;
  const char* text;
  const char* decodeAs;
  const char* read;
  bool heightSetsBars;  // the bar height box sets the bars (ten or forty pixels a unit, over the floor)
};
const Symbology kSymbologies[] = {
    {&window::MainWindow::code39Choice, "QUILLON-39", "code39", "QUILLON-39", true},
    {&window::MainWindow::code128BChoice, "Quillon 128", "code128", "Quillon 128", false},
    {&window::MainWindow::code128PatternChoice, "Quillon 128", "code128", "Quillon 128", true},
    {&window::MainWindow::interleaved25Choice, "20260417", "i25", "20260417", true},
    {&window::MainWindow::upcAChoice, "03600029145", "upca", "036000291452", false},
    {&window::MainWindow::eanChoice, "590123412345", "ean13", "5901234123457", false},
};

// The picture measured: the bars are the rows from the first dark one that
// repeat its runs; a column dark in their last row stays a bar as far down as
// it runs (EAN's longer guards). Everything else dark is the text line.
struct Geometry {
  int barTop = -1, barRows = 0;
  QRect textInk;         // the box of the text line's ink
  bool touching = false; // a text pixel next to a bar pixel
};
Geometry Measure(const QImage& img) {
  Geometry g;
  const auto dark = [&](int x, int y) { return qGray(img.pixel(x, y)) < 192; };
  for (int y = 0; y < img.height() && g.barTop < 0; ++y)
    if (!DarkLightRuns(img, y).empty()) g.barTop = y;
  if (g.barTop < 0) return g;
  const auto runs = DarkLightRuns(img, g.barTop);
  while (g.barTop + g.barRows < img.height() && DarkLightRuns(img, g.barTop + g.barRows) == runs) ++g.barRows;
  std::vector<std::vector<bool>> bar(img.width(), std::vector<bool>(img.height()));
  for (int x = 0; x < img.width(); ++x)
    for (int y = g.barTop; y < img.height() && (y < g.barTop + g.barRows || dark(x, y)) &&
                           qGray(img.pixel(x, g.barTop + g.barRows - 1)) < 128;
         ++y)
      bar[x][y] = true;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      if (!dark(x, y) || bar[x][y]) continue;
      g.textInk |= QRect(x, y, 1, 1);
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (img.rect().contains(x + dx, y + dy) && bar[x + dx][y + dy]) g.touching = true;
    }
  return g;
}

TEST_F(GenerateTest, EveryPictureHasPrintableBarsAndAWholeTextLineClearOfThem) {
  window().stretchWidthBox->setText(QStringLiteral("500"));  // the saved default: Code 128-1 and Code 2/5 are stretched
  for (const Symbology& sym : kSymbologies)
    for (const char* height : {"0.1", "0.2", "1", "1.4", "5", "25"})
      for (const char* font : {"1", "8", "72"})
        for (const int line : {0, 1}) {
          const std::string where = std::string(sym.text) + " height " + height + " font " + font + " line " +
                                    std::to_string(line);
          (window().*sym.option)->setChecked(true);
          window().textLineCheck->SetValue(line);
          window().fontSizeBox->setText(QString::fromLatin1(font));
          window().barHeightBox->setText(QString::fromLatin1(height));
          window().barcodeText->setText(QString::fromLatin1(sym.text));
          window().applyBarSize();  // applies the font size too
          const QImage img = window().FinishedPicture();
          if (img.isNull()) {
            EXPECT_FALSE(window().LastProblem().isEmpty()) << where;
            continue;
          }
          const Geometry g = Measure(img);
          EXPECT_GE(g.barRows, symbologies::kMinBarPixels) << where;
          if (sym.heightSetsBars && std::string(height) == "25") {
            EXPECT_GE(g.barRows, 250) << where;
          }
          EXPECT_FALSE(g.touching) << where;
          // The text line: present where it is asked for (and the font is not
          // a dot), never cut by the picture's edges.
          const bool printed = line == 1 || sym.option == &window::MainWindow::eanChoice;
          if (printed && std::atof(font) >= 8) {
            EXPECT_FALSE(g.textInk.isEmpty()) << where;
          }
          if (!printed) {
            EXPECT_TRUE(g.textInk.isEmpty()) << where;
          }
          EXPECT_TRUE(g.textInk.isEmpty() || img.rect().adjusted(1, 1, -1, -1).contains(g.textInk)) << where;
          // Decoding all 216 pictures takes minutes: the lowest bars and the
          // default height with the default font, and the largest font.
          const bool decode = (std::string(font) == "8" && (std::string(height) == "0.1" || std::string(height) == "1.4")) ||
                              (std::string(font) == "72" && std::string(height) == "1.4" && line == 1);
          if (!decode) continue;
          const auto d = test_support::Decode(img, QString::fromLatin1(sym.decodeAs), QString::fromLatin1(sym.read));
          EXPECT_EQ(d.exitCode, 0) << where << "\n" << d.output.toStdString();
        }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GenerateTest, APictureDependsOnItsOwnTextAndOptionsAloneWhateverRanBefore) {
  const auto generate = [&](const Symbology& sym, const char* width, const char* height, const char* font, int line) {
    (window().*sym.option)->setChecked(true);
    window().textLineCheck->SetValue(line);
    window().stretchWidthBox->setText(QString::fromLatin1(width));
    window().fontSizeBox->setText(QString::fromLatin1(font));
    window().barHeightBox->setText(QString::fromLatin1(height));
    window().barcodeText->setText(QString::fromLatin1(sym.text));
    window().applyBarSize();
    return window().FinishedPicture();
  };
  for (const Symbology& sym : kSymbologies) {
    const QImage alone = generate(sym, "800", "1.4", "8", 1);
    ASSERT_FALSE(alone.isNull()) << sym.text;
    for (const Symbology& before : kSymbologies) {
      // A long text, a wide stretch, tall bars and a large font grow what they can.
      window().barcodeText->setText(QStringLiteral("0123456789012345678901234567890"));
      generate(before, "1600", "5", "72", 1);
      EXPECT_EQ(generate(sym, "800", "1.4", "8", 1), alone) << sym.text << " after " << before.text;
    }
  }
}

TEST_F(GenerateTest, TypingARefusedCharacterShowsTheHintOnlyAndKeepsEveryKey) {
  const std::pair<QRadioButton* window::MainWindow::*, const char*> typed[] = {
      {&window::MainWindow::code39Choice, "ab#12"},  {&window::MainWindow::code128BChoice, "ab\u00e9123"},
      {&window::MainWindow::code128PatternChoice, "ab\u00e91"}, {&window::MainWindow::interleaved25Choice, "12a45"},
      {&window::MainWindow::upcAChoice, "0360a"},  {&window::MainWindow::eanChoice, "59x"}};
  window().show();
  for (const auto& [option, keys] : typed) {
    (window().*option)->setChecked(true);
    window().barcodeText->clear();
    window().barcodeText->setFocus();
    for (const QChar key : QString::fromUtf8(keys))  // keyClicks takes ASCII only
      QTest::sendKeyEvent(QTest::Click, window().barcodeText, Qt::Key_unknown, QString(key), Qt::NoModifier);
    EXPECT_EQ(window().barcodeText->text(), QString::fromUtf8(keys));
    EXPECT_TRUE(window().LabelHint->isVisible()) << keys;
    EXPECT_FALSE(window().LabelHint->text().isEmpty()) << keys;
  }
  EXPECT_TRUE(dialogs.shown.empty());
  // "Bar Code" still says it in the box where the symbology has one.
  window().generateButton->click();
  ASSERT_EQ(dialogs.shown.size(), 0u);  // EAN has no box
  window().interleaved25Choice->setChecked(true);
  window().generateButton->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, code128::kSubscriptOutOfRange);
}

TEST_F(GenerateTest, CopyPutsTheFinishedPictureOnTheClipboardAndNothingReplacesWhatWasThere) {
  platform::Clipboard& clipboard = services.clipboard;
  bool enabledDuringMessage = true;
  dialogs.onShow = [&](const auto&) { enabledDuringMessage = window().copyButton->isEnabled(); };
  window().barcodeText->setText(QStringLiteral("CLIP-9"));
  window().copyButton->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            "Copy Complete, The barcode can be pasted in other windows applications now with Ctrl-V");
  EXPECT_FALSE(enabledDuringMessage);
  EXPECT_TRUE(window().copyButton->isEnabled());
  const auto read = test_support::Decode(clipboard.Image(), "code39", "CLIP-9");
  EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();

  // EAN: the image of Picture10; the Edit menu's entry copies as the button does.
  window().eanChoice->setChecked(true);
  window().barcodeText->setText(QStringLiteral("590123412345"));
  window().copyAction->trigger();
  EXPECT_EQ(clipboard.Image().convertToFormat(QImage::Format_RGB32),
            window().Picture10->Image().convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(test_support::Decode(clipboard.Image(), "ean13", "5901234123457").exitCode, 0);

  // No barcode (EAN of the wrong length): the clipboard keeps what it held.
  QImage held(7, 3, QImage::Format_RGB32);
  held.fill(Qt::red);
  clipboard.SetImage(held);
  window().barcodeText->setText(QStringLiteral("123"));
  dialogs.shown.clear();
  window().copyButton->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(dialogs.shown[0].text.startsWith("There is no barcode to copy"));
  EXPECT_EQ(clipboard.Image().convertToFormat(QImage::Format_RGB32), held);
  EXPECT_TRUE(window().copyButton->isEnabled());
}


// What the frame of drawing areas can show, scrolled or not, holds the whole
// symbol: the decoders read it there, and its ink is as large as the
// finished picture's.
TEST_F(GenerateTest, TheDrawingFrameHoldsTheWholeSymbolOfLongAndTallBarcodes) {
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  int shown = 0;
  for (QWidget* w : window().previewFrame->findChildren<platform::PictureBox*>()) shown += w->isVisible();
  EXPECT_EQ(shown, 1);  // one empty area at start
  const struct {
    QRadioButton* window::MainWindow::*option;
    const char* symbology;
    QString text;
    const char* height;
  } cases[] = {{&window::MainWindow::code39Choice, "code39", QString(39, 'W'), "1.4"},
               {&window::MainWindow::code128BChoice, "code128", QString("abcdefghij").repeated(4), "1.4"},
               {&window::MainWindow::code39Choice, "code39", "TALL-2", "2"}};
  window().textLineCheck->SetValue(1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    (window().*c.option)->setChecked(true);
    window().barHeightBox->setText(c.height);
    window().barcodeText->setText(c.text);
    const QImage view = window().previewFrame->grab().toImage();
    const QRect ink = test_support::DarkBox(window().FinishedPicture());
    EXPECT_EQ(test_support::DarkBox(view).size(), ink.size());
    const auto read = test_support::Decode(view, c.symbology, c.text);
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  }
}

}  // namespace
