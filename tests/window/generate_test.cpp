// The generate command as the window runs it: keystrokes, the hint, the
// preview, the message boxes of "Bar Code" and the clipboard copy. What the
// pictures hold is the layouts' and the frozen table's matter.
#include "support/decode.h"
#include "support/window_fixture.h"

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
    ASSERT_TRUE(window().finishedPicture().Drawn()) << i;
    // Start, stop and i + 1 characters of five bars each.
    EXPECT_EQ(DarkLightRuns(window().finishedPicture().picture, 1).size(), static_cast<size_t>(10 * (i + 3) - 1)) << i;
    EXPECT_EQ(window().preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              window().finishedPicture().picture);
  }
  for (qsizetype i = 0; i < typed.size(); ++i) QTest::keyClick(window().barcodeText, Qt::Key_Backspace);
  EXPECT_FALSE(window().finishedPicture().Drawn());
  EXPECT_TRUE(window().preview->pixmap().isNull());
  EXPECT_TRUE(window().hintLabel->isHidden());
}

TEST_F(GenerateTest, StartingDrawsNothingTheUserDidNotGive) {
  // A saved Code 2/5 and bar height would have drawn (and refused) the prompt.
  window().interleaved25Choice->setChecked(true);  // saved as it is clicked
  settings.SaveSetting(window::kApp, window::kSection, QStringLiteral("text8"), QStringLiteral("2"));
  Restart();
  EXPECT_TRUE(window().interleaved25Choice->isChecked());
  EXPECT_TRUE(window().hintLabel->isHidden());
  EXPECT_TRUE(window().LastProblem().isEmpty());
  EXPECT_FALSE(window().finishedPicture().Drawn());
  EXPECT_TRUE(dialogs.shown.empty());
  window().barHeightBox->setText(QStringLiteral("3"));  // still nothing typed
  EXPECT_TRUE(window().hintLabel->isHidden());
  window().barcodeText->setText(QString(barcode::kLongestText + 1, QLatin1Char('7')));  // too long for the box: refused, not cut
  EXPECT_EQ(window().barcodeText->text().size(), barcode::kLongestText + 1);
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
    EXPECT_TRUE(window().hintLabel->isVisible()) << keys;
    EXPECT_FALSE(window().hintLabel->text().isEmpty()) << keys;
  }
  EXPECT_TRUE(dialogs.shown.empty());
  // "Bar Code" still says it in the box where the symbology has one.
  window().generateButton->click();
  ASSERT_EQ(dialogs.shown.size(), 0u);  // EAN has no box
  window().interleaved25Choice->setChecked(true);
  window().generateButton->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "9\r\nSubscript out of range");
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

  // The Edit menu's entry copies as the button does.
  window().eanChoice->setChecked(true);
  window().barcodeText->setText(QStringLiteral("590123412345"));
  window().copyAction->trigger();
  EXPECT_EQ(clipboard.Image().convertToFormat(QImage::Format_RGB32), window().finishedPicture().picture);
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


// What the preview frame can show, scrolled or not, holds the whole
// symbol: the decoders read it there, and its ink is as large as the
// finished picture's.
TEST_F(GenerateTest, TheDrawingFrameHoldsTheWholeSymbolOfLongAndTallBarcodes) {
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  EXPECT_TRUE(window().preview->pixmap().isNull());  // nothing drawn at start
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
    const QRect ink = test_support::DarkBox(window().finishedPicture().picture);
    EXPECT_EQ(test_support::DarkBox(view).size(), ink.size());
    const auto read = test_support::Decode(view, c.symbology, c.text);
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  }
}

}  // namespace
