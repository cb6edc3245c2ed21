// The Print command: its checks and messages, and where the barcode lands on
// the page, measured on the rasterised output of "Save as PDF" and of CUPS.
#include "printing/printing_support.h"

#include <QCoreApplication>

namespace {

using namespace printing_test;
using test_support::FindMarks;
using test_support::RasterisePdf;

const QString kNoBarcodeMessage = "Please Generate Barocode to print  ";

class PrintCommandTest : public PrintingTest {
 protected:
  // Prints text at the offsets (centimetres): the one symbol on the page has
  // the picture's size (1/96 inch a pixel), its top-left at the offsets from
  // the printable area's top-left, and reads as the text.
  void PrintAndExpectPlaced(const QString& printer, const QString& text, const char* left, const char* top) {
    const bool pdf = printer == platform::kSaveAsPdf;
    const QPointF area = PrintableArea(printer).topLeft();
    form().Combo1->setEditText(printer);
    form().Text1->setText(text);
    form().Text14->setText(left);
    form().Text15->setText(top);
    const qsizetype before = PdfCount();
    form().Command2->click();
    EXPECT_EQ(PdfCount(), before + (pdf ? 1 : 0));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(printers.CurrentName(), printer);
    const QString file = pdf ? printers.LastPdfPath() : test_support::WaitForCupsPdf(text);
    EXPECT_EQ(form().StatusText(), "1 barcode printed to " + (pdf ? file + " (Save as PDF)" : "the printer \"" + printer + "\""));
    const auto pages = RasterisePdf(file);
    ASSERT_EQ(pages.size(), 1u) << file.toStdString();
    const auto marks = FindMarks(pages[0], 60);
    ASSERT_EQ(marks.size(), 1u);
    const QRect inPicture = DarkBox(form().FinishedPicture());
    const double scale = 300 / 96.0;
    EXPECT_NEAR(marks[0].left(), MmToPx(area.x() + 10 * QString(left).toDouble()) + inPicture.left() * scale, 2);
    EXPECT_NEAR(marks[0].top(), MmToPx(area.y() + 10 * QString(top).toDouble()) + inPicture.top() * scale, 2);
    EXPECT_NEAR(marks[0].width(), inPicture.width() * scale, 2);
    EXPECT_NEAR(marks[0].height(), inPicture.height() * scale, 2);
    const auto read = test_support::DecodeFile(file, "code39", text);
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
    if (!pdf) QFile::remove(file);
  }
};

TEST_F(PrintCommandTest, WithoutAFileAFinishedBarcodeOrANumericOffsetNothingPrints) {
  form().FilePath = "   ";
  form().Command4->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Please Select a File to Print");
  dialogs.shown.clear();
  form().Command2->click();      // nothing generated yet
  form().Text1->setText("A#B");  // Code 39 cannot draw it
  form().Command2->click();
  form().Text1->setText("OK");
  form().Text1->clear();  // an empty text leaves no barcode
  form().Command2->click();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  for (const auto& shown : dialogs.shown) EXPECT_EQ(shown.text, kNoBarcodeMessage);
  EXPECT_EQ(form().StatusText(), "Not printed: Please Generate Barocode to print");
  form().Text1->setText("OFFSET");
  const char* const cases[][4] = {
      {"", "x", "1", "x"}, {"1", "abc", "1", "1"}, {" ", "", "1", ""}, {"1.5cm", "2", "1", "2"}};
  for (const auto& c : cases) {  // left, top, left and top afterwards
    dialogs.shown.clear();
    form().Text14->setText(c[0]);
    form().Text15->setText(c[1]);
    form().Command2->click();
    ASSERT_EQ(dialogs.shown.size(), 1u) << c[0] << "|" << c[1];
    EXPECT_EQ(dialogs.shown[0].text, "The Barcode Offset must be a numeric value  ");
    EXPECT_EQ(dialogs.shown[0].title, main_window::kWindowTitle);
    EXPECT_EQ(form().Text14->text(), c[2]);
    EXPECT_EQ(form().Text15->text(), c[3]);
  }
  EXPECT_EQ(printers.JobsSent(), 0);
  EXPECT_EQ(PdfCount(), 0);
}

TEST_F(PrintCommandTest, EachPrintIsOneJobWithTheBarcodeAtTheOffsets) {
  PrintAndExpectPlaced(platform::kSaveAsPdf, "OFS-25", "2.5", "0");
  PrintAndExpectPlaced(platform::kSaveAsPdf, "OFS-11", "1", " 1 ");
}

TEST_F(PrintCommandTest, ThroughCupsEachPrintIsAJobWithTheBarcodeAtTheOffsets) {
  REQUIRE_CUPS();
  const QString token = "CUPSOFS" + QString::number(QCoreApplication::applicationPid());
  PrintAndExpectPlaced("PDF", token + "N1", "2.5", "0");
  PrintAndExpectPlaced("PDF", token + "N2", "1", "1");
}

TEST_F(PrintCommandTest, WithEanThePictureOfPicture10IsPrintedWhilePicture2DecidesWhetherToPrint) {
  QImage marker(100, 20, QImage::Format_RGB32), other(40, 40, QImage::Format_RGB32);
  marker.fill(Qt::black);
  other.fill(Qt::black);
  form().Option9->setChecked(true);
  form().Picture10->SetPicture(marker);
  form().Command2->click();  // Picture2 holds nothing
  form().Picture2->SetPicture(other);
  form().Command2->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kNoBarcodeMessage);
  ASSERT_EQ(PdfCount(), 1);
  const auto pages = RasterisePdf(printers.LastPdfPath());
  ASSERT_EQ(pages.size(), 1u);
  const auto marks = FindMarks(pages[0], 10);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_NEAR(marks[0].width(), 100 * 300 / 96.0, 2);
  EXPECT_NEAR(marks[0].height(), 20 * 300 / 96.0, 2);
}

}  // namespace
