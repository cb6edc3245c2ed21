// The generate command, driven headless through the real window and handlers.
#include "support/decode.h"
#include "support/form_fixture.h"
#include "symbologies/code128/dc_code128.h"
#include "symbologies/code128/pattern_barcode.h"

#include <QTest>

namespace {

using test_support::DarkLightRuns;

class GenerateTest : public test_support::FormTest {
 protected:
  void SetUp() override { form().Option2->setChecked(true); }
};

TEST_F(GenerateTest, EveryKeystrokeRegeneratesAndEmptyingClearsEveryArea) {
  form().Text1->clear();
  form().Text1->setFocus();
  const QString typed = QStringLiteral("AB12");
  for (qsizetype i = 0; i < typed.size(); ++i) {
    QTest::keyClick(form().Text1, typed.at(i).toLatin1());
    ASSERT_TRUE(form().Picture2->HasPicture()) << i;
    // Start, stop and i + 1 characters of five bars each.
    EXPECT_EQ(DarkLightRuns(form().Picture2->Picture(), 1).size(), static_cast<size_t>(10 * (i + 3) - 1)) << i;
  }
  for (qsizetype i = 0; i < typed.size(); ++i) QTest::keyClick(form().Text1, Qt::Key_Backspace);
  for (platform::PictureBox* p : {form().Picture1, form().Picture2, form().Picture4, form().Picture5,
                                  form().Picture9, form().Picture10, form().Picture22}) {
    EXPECT_FALSE(p->HasPicture());
    EXPECT_TRUE(DarkLightRuns(p->Image(), 0).empty());
  }
  EXPECT_TRUE(form().LabelHint->isHidden());
}

TEST_F(GenerateTest, BarHeightSetsTheInnerHeightFortyPixelsPerUnit) {
  form().Text1->setText(QStringLiteral("H"));
  // Not a number: the initial 1.4.
  for (const auto& [height, pixels] : {std::pair{"2", 80}, std::pair{"1.4", 56}, std::pair{"tall", 56}}) {
    form().Text8->setText(QString::fromLatin1(height));
    EXPECT_EQ(form().Picture1->ScaleHeight(), pixels) << height;
    EXPECT_EQ(form().Picture2->Picture().height(), pixels) << height;
  }
}

TEST_F(GenerateTest, NoTypedSizeReachesTheSettingsErrorPath) {
  form().Text1->setText(QStringLiteral("SIZE"));
  for (QRadioButton* option : {form().Option1, form().Option2, form().Option4, form().Option5,
                               form().Option8, form().Option9}) {
    option->setChecked(true);
    for (const char* value : {"abc", "", "-3", "0", "1e300", "nan", "99999", "1,4"}) {
      form().Text3->setText(QString::fromLatin1(value));
      form().Text8->setText(QString::fromLatin1(value));
      form().Text8->setText(QStringLiteral("1.4"));
      form().Text8->setText(QString::fromLatin1(value));
    }
  }
  EXPECT_FALSE(dialogs.endStatus.has_value());
  // The only messages: Code 128 B refusing a font size of 0 or below, and
  // Code 2/5 refusing the letters of the text.
  for (const auto& shown : dialogs.shown)
    EXPECT_TRUE(shown.text == code128::kCode128ErrorText || shown.text == code128::kSubscriptOutOfRange)
        << shown.text.toStdString();
}

TEST_F(GenerateTest, CopyPutsTheFinishedPictureOnTheClipboardAndNothingReplacesWhatWasThere) {
  platform::Clipboard& clipboard = services.clipboard;
  bool enabledDuringMessage = true;
  dialogs.onShow = [&](const auto&) { enabledDuringMessage = form().Command9->isEnabled(); };
  form().Text1->setText(QStringLiteral("CLIP-9"));
  form().Command9->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            "Copy Complete, The barcode can be pasted in other windows applications now with Ctrl-V");
  EXPECT_FALSE(enabledDuringMessage);
  EXPECT_TRUE(form().Command9->isEnabled());
  const auto read = test_support::Decode(clipboard.Image(), "code39", "CLIP-9");
  EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();

  // EAN: the image of Picture10; the Edit menu's entry copies as the button does.
  form().Option9->setChecked(true);
  form().Text1->setText(QStringLiteral("590123412345"));
  form().BarCodetoClipboard->trigger();
  EXPECT_EQ(clipboard.Image().convertToFormat(QImage::Format_RGB32),
            form().Picture10->Image().convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(test_support::Decode(clipboard.Image(), "ean13", "5901234123457").exitCode, 0);

  // No barcode (EAN of the wrong length): the clipboard keeps what it held.
  QImage held(7, 3, QImage::Format_RGB32);
  held.fill(Qt::red);
  clipboard.SetImage(held);
  form().Text1->setText(QStringLiteral("123"));
  dialogs.shown.clear();
  form().Command9->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(dialogs.shown[0].text.startsWith("There is no barcode to copy"));
  EXPECT_EQ(clipboard.Image().convertToFormat(QImage::Format_RGB32), held);
  EXPECT_TRUE(form().Command9->isEnabled());
}

}  // namespace
