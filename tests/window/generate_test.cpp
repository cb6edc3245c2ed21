// The generate command as the window runs it: keystrokes, the hint, the
// preview, the message boxes of "Bar Code" and the clipboard copy. What the
// pictures hold is the layouts' and the frozen table's matter.
#include "support/decode.h"
#include "support/window_fixture.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

using test_support::DarkLightRuns;
using window::MainWindow;

class GenerateTest : public test_support::WindowTest {
 protected:
  void SetUp() override { window().code39Choice->setChecked(true); }
};

// Starting draws nothing the user did not give (a saved Code 2/5 and bar
// height would have drawn, and refused, the prompt); the prompt starts
// selected; every key draws again, a refused character shows the hint only
// and keeps every key; emptying clears every area.
TEST_F(GenerateTest, StartingDrawsNothingAndEveryKeystrokeRegeneratesOrHintsKeepingEveryKey) {
  window().interleaved25Choice->setChecked(true);  // saved as it is clicked
  settings.SaveSetting(window::kApp, window::kSection, QStringLiteral("text8"), QStringLiteral("2"));
  MainWindow& w = Restart();
  EXPECT_TRUE(w.interleaved25Choice->isChecked());
  EXPECT_TRUE(w.hintLabel->isHidden() && w.LastProblem().isEmpty() && !w.finishedPicture().Drawn());
  w.barHeightBox->setText(QStringLiteral("3"));  // still nothing typed
  EXPECT_TRUE(w.hintLabel->isHidden());
  w.show();
  QTest::keyClicks(w.barcodeText, "X1");
  EXPECT_EQ(w.barcodeText->text(), "X1");
  w.code39Choice->setChecked(true);
  w.barcodeText->clear();
  for (int last = 0; const char key : {'A', 'B'}) {  // each key draws again, wider
    QTest::keyClick(w.barcodeText, key);
    EXPECT_GT(w.finishedPicture().picture.width(), last) << key;
    last = w.finishedPicture().picture.width();
  }
  for (int i = 0; i < 2; ++i) QTest::keyClick(w.barcodeText, Qt::Key_Backspace);
  EXPECT_TRUE(!w.finishedPicture().Drawn() && w.preview->picture().isNull() && w.hintLabel->isHidden());
  const std::pair<QRadioButton* MainWindow::*, const char*> typed[] = {
      {&MainWindow::code128BChoice, "ab\u00e9123"}, {&MainWindow::interleaved25Choice, "12a45"}};
  for (const auto& [option, keys] : typed) {
    (w.*option)->setChecked(true);
    w.barcodeText->clear();
    for (const QChar key : QString::fromUtf8(keys))  // keyClicks takes ASCII only
      QTest::sendKeyEvent(QTest::Click, w.barcodeText, Qt::Key_unknown, QString(key), Qt::NoModifier);
    EXPECT_EQ(w.barcodeText->text(), QString::fromUtf8(keys));
    EXPECT_TRUE(w.hintLabel->isVisible() && !w.hintLabel->text().isEmpty()) << keys;
  }
  w.barcodeText->setText(QString(barcode::kLongestText + 1, QLatin1Char('7')));  // too long for the box: refused, not cut
  EXPECT_EQ(w.barcodeText->text().size(), barcode::kLongestText + 1);
  EXPECT_TRUE(w.LastProblem().contains(QStringLiteral("32768 characters"))) << w.LastProblem().toStdString();
  EXPECT_TRUE(dialogs.shown.empty());  // "Bar Code"'s boxes: the frozen table
}

// A size the generator does not use as typed falls back as ever, and the
// red hint names the box, the value and the range.
TEST_F(GenerateTest, NoTypedSizeReachesTheSettingsErrorPathAndTheHintNamesTheOnesNotUsed) {
  window().barcodeText->setText(QStringLiteral("SIZE"));
  const std::tuple<const char*, bool, bool> values[] = {
      {"abc", true, true}, {"1e300", true, true}, {"30", true, false}, {"0.5", false, true}, {"12", false, false}};
  for (QRadioButton* option : {window().code128BChoice, window().interleaved25Choice}) {
    option->setChecked(true);
    for (const auto& [value, heightUnused, fontUnused] : values) {
      window().fontSizeBox->setText(QString::fromLatin1(value));
      window().barHeightBox->setText(QString::fromLatin1(value));
      window().barHeightBox->setText(QStringLiteral("1.4"));
      window().barHeightBox->setText(QString::fromLatin1(value));
      const QString hint = window().hintLabel->text();
      const auto says = [&hint, typed = value](const char* box, const char* range) {
        return hint.contains(QStringLiteral("%1 \"%2\" is not used: it takes a number from %3").arg(box, typed, range));
      };
      EXPECT_EQ(says("Height", "0.1 to 25"), heightUnused) << value << hint.toStdString();
      EXPECT_EQ(says("Font Size", "1 to 144"), fontUnused) << value;
      EXPECT_EQ(window().hintLabel->styleSheet().contains("#b00000"), !hint.isEmpty()) << value;
    }
  }
  // Code 128 B refusing a font size of 0 and Code 2/5 the letters show in the
  // hint: changing a size box is no explicit command.
  EXPECT_TRUE(dialogs.shown.empty() && !dialogs.endStatus.has_value());
}

TEST_F(GenerateTest, CopyPutsTheFinishedPictureOnTheClipboardAndNothingReplacesWhatWasThere) {
  platform::Clipboard& clipboard = services.clipboard;
  bool enabledDuringMessage = true;
  dialogs.onShow = [&](const auto&) { enabledDuringMessage = window().copyButton->isEnabled(); };
  window().barcodeText->setText(QStringLiteral("CLIP-9"));
  window().copyButton->click();
  EXPECT_EQ(dialogs.Take(), QStringList{"Copy Complete, The barcode can be pasted in other windows applications now with Ctrl-V"});
  EXPECT_FALSE(enabledDuringMessage);
  EXPECT_TRUE(window().copyButton->isEnabled());
  const auto read = test_support::Decode(clipboard.Image(), "code39", "CLIP-9");  // with its quiet zone
  EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  EXPECT_EQ(window().StatusText(), "Barcode copied to the clipboard");
  // Read from another program (xclip): window_smoke.sh.

  // No barcode (EAN of the wrong length): the clipboard keeps what it held.
  QImage held(7, 3, QImage::Format_RGB32);
  held.fill(Qt::red);
  clipboard.SetImage(held);
  window().eanChoice->setChecked(true);
  window().barcodeText->setText(QStringLiteral("123"));
  window().copyButton->click();
  EXPECT_TRUE(dialogs.Take().value(0).startsWith("There is no barcode to copy"));
  EXPECT_EQ(clipboard.Image().convertToFormat(QImage::Format_RGB32), held);
  EXPECT_TRUE(window().copyButton->isEnabled());
  EXPECT_EQ(window().StatusText(), "Not copied: no barcode");
}

// What the preview frame can show, scrolled or not, holds the whole symbol
// at the largest whole zoom that fits (1 for what fits at no zoom): the
// decoders read it there, its ink and its bars are the finished picture's
// times the zoom, and only a picture that does not fit scrolls.
TEST_F(GenerateTest, TheDrawingFrameHoldsTheWholeSymbolAtTheLargestWholeZoomThatFits) {
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  EXPECT_TRUE(window().preview->picture().isNull());  // nothing drawn at start
  const struct {
    QRadioButton* window::MainWindow::*option;
    const char* symbology;
    QString text;
    const char* height;
    QString reads;  // "" for the text
    int leastZoom;
  } cases[] = {{&window::MainWindow::code39Choice, "code39", QString(39, 'W'), "1.4", "", 1},
               {&window::MainWindow::code128BChoice, "code128", "AB", "0.5", "", 2},
               {&window::MainWindow::interleaved25Choice, "i25", "12345", "1", "012345", 1}};
  window().textLineCheck->SetValue(1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    (window().*c.option)->setChecked(true);
    window().barHeightBox->setText(c.height);
    window().barcodeText->setText(c.text);
    // Up to the hint, where it is beside the picture.
    const QRect hint = window().hintLabel->isVisible() ? window().hintLabel->geometry() : QRect();
    const int right = hint.left() > window().preview->geometry().right() ? hint.left() : window().previewFrame->width();
    const QImage view = window().previewFrame->grab(QRect(0, 0, right, window().previewFrame->height())).toImage();
    const QImage& picture = window().finishedPicture().picture;
    const int zoom = window().PreviewZoom();
    const QRect ink = test_support::DarkBox(picture);
    EXPECT_EQ(test_support::DarkBox(view).size(), ink.size() * zoom);
    std::vector<int> runs = DarkLightRuns(picture, ink.top() + 2);
    for (int& run : runs) run *= zoom;
    EXPECT_EQ(DarkLightRuns(view, test_support::DarkBox(view).top() + 2 * zoom), runs);
    const QSize room = window().previewView->size();
    EXPECT_TRUE((zoom + 1) * picture.width() > room.width() || (zoom + 1) * picture.height() > room.height());
    EXPECT_GE(zoom, c.leastZoom);
    // A symbol as narrow as the frame's half shows no horizontal scroll bar, however tall.
    const bool narrow = zoom > 1 || 2 * picture.width() < room.width();
    EXPECT_FALSE(narrow && window().previewView->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(zoom > 1 && window().previewView->verticalScrollBar()->isVisible());
    const auto read = test_support::Decode(view, c.symbology, c.reads.isEmpty() ? c.text : c.reads);
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  }
  // What was encoded, where not what was typed, shows beside the picture in
  // the window's colour (red is for what went wrong).
  EXPECT_EQ(window().hintLabel->text(), "encoded as 012345");
  EXPECT_FALSE(window().hintLabel->styleSheet().contains("#b00000"));
  EXPECT_FALSE(window().hintLabel->geometry().intersects(window().preview->geometry()));
}

}  // namespace
