// The Print command: its checks and messages, and where the barcode lands on
// the page, measured on the rasterised output of "Save as PDF" and of CUPS.
#include "app/command_line.h"
#include "printing/printing_support.h"
#include "support/decode.h"
#include "support/form_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

using namespace printing_test;
using test_support::FindMarks;
using test_support::RasterisePdf;

const QString kOffsetMessage = QStringLiteral("The Barcode Offset must be a numeric value  ");
const QString kNoBarcodeMessage = QStringLiteral("Please Generate Barocode to print  ");
constexpr int kDpi = 300;
constexpr double kPdfMarginMm = 6.35;

class PrintCommandTest : public test_support::FormTest {
 protected:
  void SetUp() override {
    form().Option2->setChecked(true);
    form().Combo1->setEditText(platform::kSaveAsPdf);
  }
  QStringList Pdfs() const { return QDir(pdfDir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name); }
  // Prints at the offsets and checks the symbol's top-left on the page,
  // whose printable area starts at margin (millimetres).
  void ExpectPlaced(const QString& pdf, double leftCm, double topCm, QPointF marginMm) {
    const QImage picture = form().FinishedPicture();
    const QPoint inPicture = FirstDark(picture);
    const QPoint lastInPicture = LastDark(picture);
    const auto pages = RasterisePdf(pdf, kDpi);
    ASSERT_EQ(pages.size(), 1u) << pdf.toStdString();
    const auto marks = FindMarks(pages[0], kDpi / 5);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_NEAR(marks[0].left(), MmToPx(marginMm.x() + 10 * leftCm, kDpi) + inPicture.x() * kDpi / 96.0, 2.0);
    EXPECT_NEAR(marks[0].top(), MmToPx(marginMm.y() + 10 * topCm, kDpi) + inPicture.y() * kDpi / 96.0, 2.0);
    // At its natural size: 1/96 inch a pixel.
    EXPECT_NEAR(marks[0].width(), (lastInPicture.x() - inPicture.x() + 1) * kDpi / 96.0, 2.0);
    EXPECT_NEAR(marks[0].height(), (lastInPicture.y() - inPicture.y() + 1) * kDpi / 96.0, 2.0);
    const auto read = test_support::DecodeFile(pdf, QStringLiteral("code39"), form().Text1->text(),
                                               QStringLiteral("zbar zxing"), kDpi);
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
  }
};

TEST_F(PrintCommandTest, AnOffsetThatIsNoNumberIsResetAndNothingPrints) {
  form().Text1->setText(QStringLiteral("OFFSET"));
  struct Case {
    const char *left, *top, *leftAfter, *topAfter;
  };
  for (const Case& c :
       {Case{"", "x", "1", "x"}, Case{"1", "abc", "1", "1"}, Case{" ", "", "1", ""}, Case{"1.5cm", "2", "1", "2"}}) {
    dialogs.shown.clear();
    form().Text14->setText(QString::fromLatin1(c.left));
    form().Text15->setText(QString::fromLatin1(c.top));
    form().Command2->click();
    ASSERT_EQ(dialogs.shown.size(), 1u) << c.left << "|" << c.top;
    EXPECT_EQ(dialogs.shown[0].text, kOffsetMessage);
    EXPECT_EQ(dialogs.shown[0].title, main_window::kWindowTitle);
    EXPECT_EQ(form().Text14->text(), QString::fromLatin1(c.leftAfter));
    EXPECT_EQ(form().Text15->text(), QString::fromLatin1(c.topAfter));
  }
  EXPECT_EQ(printers.JobsSent(), 0);
  EXPECT_TRUE(Pdfs().isEmpty());
}

TEST_F(PrintCommandTest, WithoutAFinishedBarcodeNothingPrints) {
  form().Command2->click();                      // nothing generated yet
  form().Text1->setText(QStringLiteral("A#B"));  // Code 39 cannot draw it
  form().Command2->click();
  form().Text1->setText(QStringLiteral("OK"));
  form().Text1->clear();  // an empty text leaves no barcode
  form().Command2->click();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  for (const auto& shown : dialogs.shown) EXPECT_EQ(shown.text, kNoBarcodeMessage);
  EXPECT_EQ(printers.JobsSent(), 0);
  EXPECT_TRUE(Pdfs().isEmpty());
}

TEST_F(PrintCommandTest, EachPrintIsOneJobWithTheBarcodeAtTheOffsets) {
  form().Text1->setText(QStringLiteral("OFS-25"));
  form().Text14->setText(QStringLiteral("2.5"));
  form().Text15->setText(QStringLiteral("0"));
  form().Command2->click();
  form().Text14->setText(QStringLiteral("1"));
  form().Text15->setText(QStringLiteral(" 1 "));
  form().Command2->click();
  EXPECT_TRUE(dialogs.shown.empty());
  const QStringList pdfs = Pdfs();
  ASSERT_EQ(pdfs.size(), 2);
  ASSERT_TRUE(pdfs[0].endsWith(QStringLiteral("-1.pdf")));
  ExpectPlaced(QDir(pdfDir.path()).filePath(pdfs[0]), 2.5, 0, {kPdfMarginMm, kPdfMarginMm});
  ExpectPlaced(QDir(pdfDir.path()).filePath(pdfs[1]), 1, 1, {kPdfMarginMm, kPdfMarginMm});
}

TEST_F(PrintCommandTest, ThroughCupsEachPrintIsAJobWithTheBarcodeAtTheOffsets) {
  REQUIRE_CUPS();
  form().Combo1->setEditText(QStringLiteral("PDF"));
  // The printable area as the queue's driver describes it.
  QPrinter queue(QPrinterInfo::printerInfo(QStringLiteral("PDF")), QPrinter::HighResolution);
  const QPointF area = queue.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
  struct Case {
    const char *left, *top;
  };
  int n = 0;
  for (const Case& c : {Case{"2.5", "0"}, Case{"1", "1"}}) {
    const QString token = QStringLiteral("CUPSOFS%1N%2").arg(QCoreApplication::applicationPid()).arg(++n);
    form().Text1->setText(token);
    form().Text14->setText(QString::fromLatin1(c.left));
    form().Text15->setText(QString::fromLatin1(c.top));
    form().Command2->click();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(printers.CurrentName(), QStringLiteral("PDF"));
    const QString pdf = test_support::WaitForCupsPdf(token);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the CUPS queue for " << token.toStdString();
    ExpectPlaced(pdf, QString::fromLatin1(c.left).toDouble(), QString::fromLatin1(c.top).toDouble(), area);
    QFile::remove(pdf);
  }
}

}  // namespace

namespace {

TEST_F(PrintCommandTest, WithEanThePictureOfPicture10IsPrintedWhilePicture2DecidesWhetherToPrint) {
  QImage marker(100, 20, QImage::Format_RGB32);
  marker.fill(Qt::black);
  QImage other(40, 40, QImage::Format_RGB32);
  other.fill(Qt::black);
  form().Option9->setChecked(true);
  form().Picture10->SetPicture(marker);
  form().Command2->click();  // Picture2 holds nothing
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kNoBarcodeMessage);
  form().Picture2->SetPicture(other);
  form().Command2->click();
  ASSERT_EQ(Pdfs().size(), 1);
  const auto pages = RasterisePdf(QDir(pdfDir.path()).filePath(Pdfs()[0]), kDpi);
  ASSERT_EQ(pages.size(), 1u);
  const auto marks = FindMarks(pages[0], 10);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_NEAR(marks[0].width(), 100 * kDpi / 96.0, 2);
  EXPECT_NEAR(marks[0].height(), 20 * kDpi / 96.0, 2);
}

TEST_F(PrintCommandTest, ThePrinterBoxListsThePrintersAndKeepsTheSavedName) {
  settings.SaveSetting(main_window::kApp, main_window::kSection, QStringLiteral("c1opt"), QStringLiteral("Gone"));
  form().FillPrinterList();
  QStringList listed;
  for (int i = 0; i < form().Combo1->count(); ++i) listed << form().Combo1->itemText(i);
  EXPECT_EQ(listed, printers.Names());
  EXPECT_EQ(form().Combo1->currentText(), QStringLiteral("Gone"));  // no longer installed, still shown
  form().Combo1->setEditText(platform::kSaveAsPdf);
  form().Combo1_Validate();
  EXPECT_EQ(settings.GetSetting(main_window::kApp, main_window::kSection, QStringLiteral("c1opt"), {}),
            platform::kSaveAsPdf);
}

// A printer that cannot take the job is reported, never taken for success.
TEST(PrintFailures, APdfFolderThatCannotBeMadeIsReportedByPrintAndByTheCommandLine) {
  QTemporaryDir dir;
  QFile blocker(dir.filePath(QStringLiteral("file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  test_support::ScriptedDialogs dialogs;
  platform::SettingsStore settings;
  platform::Printers printers(dir.filePath(QStringLiteral("file/pdf")));
  platform::Services services{dialogs, settings, printers};
  main_window::Form1 form(services);
  form.Option2->setChecked(true);
  form.Combo1->setEditText(platform::kSaveAsPdf);
  form.Text1->setText(QStringLiteral("FAIL"));
  form.Command2->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(
      dialogs.shown[0].text.startsWith(QStringLiteral("The barcode could not be printed: cannot create the folder")))
      << dialogs.shown[0].text.toStdString();

  QFile lines(dir.filePath(QStringLiteral("lines.txt")));
  ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
  lines.write("A\r\nB\r\n");
  lines.close();
  EXPECT_EQ(app::PrintFileCommand(form, lines.fileName()), 1);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_TRUE(dialogs.shown[1].text.startsWith(QStringLiteral("Printing \"%1\" failed").arg(lines.fileName())))
      << dialogs.shown[1].text.toStdString();
  EXPECT_EQ(printers.JobsSent(), 0);
}

}  // namespace
