// The Print command: its checks and messages, and where the barcode lands on
// the page, measured on the rasterised output of "Save as PDF" and of CUPS.
#include "printing/printing_support.h"

#include "window/label_dialog.h"
#include "window/print_preview.h"

#include <QCoreApplication>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace printing_test;
using test_support::FindMarks;
using test_support::RasterisePdf;

using PrintCommandTest = PrintingTest;

TEST_F(PrintCommandTest, WithoutAFileAFinishedBarcodeOrANumericOffsetNothingPrints) {
  window().FilePath = "   ";
  window().printFileButton->click();
  EXPECT_EQ(dialogs.Take(), QStringList{"Please Select a File to Print"});
  window().printButton->click();      // nothing generated yet
  window().barcodeText->setText("A#B");  // Code 39 cannot draw it
  window().printButton->click();
  window().barcodeText->setText("OK");
  window().barcodeText->clear();  // an empty text leaves no barcode
  window().printButton->click();
  EXPECT_EQ(dialogs.Take(), QStringList(3, "Please Generate Barocode to print  "));
  EXPECT_EQ(window().StatusText(), "Not printed: Please Generate Barocode to print");
  window().barcodeText->setText("OFFSET");
  // Offsets that are no numbers (the box that held none is reset), or that
  // would cut the barcode at the right or bottom edge of the page.
  const QString numeric = "The Barcode Offset must be a numeric value  ";
  const QString past = "The barcode does not fit the page at these offsets: it would reach [\\d.]+ mm past the %1 "
                       "the printable area \\(197\\.[23] x 284\\.3 mm\\)\\.";
  const std::tuple<const char*, const char*, const char*, QString> cases[] = {  // left, top, both afterwards, message
      {"", "x", "1|x", numeric}, {"1.5cm", "2", "1|2", numeric},
      {"19", "1", "19|1", past.arg("right edge of")}, {"1", "28.2", "1|28.2", past.arg("bottom of")}};
  for (const auto& [left, top, after, message] : cases) {
    dialogs.shown.clear();
    window().leftOffsetBox->setText(left);
    window().topOffsetBox->setText(top);
    window().printButton->click();
    ASSERT_EQ(dialogs.shown.size(), 1u) << left << "|" << top;
    EXPECT_TRUE(QRegularExpression("^" + message + "$").match(dialogs.shown[0].text).hasMatch()) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(dialogs.shown[0].title, window::kWindowTitle);
    EXPECT_EQ(window().leftOffsetBox->text() + "|" + window().topOffsetBox->text(), after);
  }
  EXPECT_EQ(printers.JobsSent(), 0);
  EXPECT_EQ(PdfCount(), 0);
}

// Each Print is one job: the one symbol on the page has the picture's size
// (1/96 inch a pixel), its top-left at the offsets (centimetres) from the
// printable area's top-left, and reads as the text.
TEST_F(PrintCommandTest, EachPrintIsOneJobWithTheBarcodeAtTheOffsetsThroughSaveAsPdfAndCups) {
  const QString token = "CUPSOFS" + QString::number(QCoreApplication::applicationPid());
  const std::tuple<QString, QString, const char*, const char*> prints[] = {
      {platform::kSaveAsPdf, "OFS-25", "2.5", " 1 "}, {"PDF", token + "N1", "2.5", "0"}, {"PDF", token + "N2", "1", "1"}};
  for (const auto& [printer, text, left, top] : prints) {
    SCOPED_TRACE(text.toStdString());
    const bool pdf = printer == platform::kSaveAsPdf;
    if (!pdf) REQUIRE_CUPS();
    window().printerBox->setEditText(printer);
    window().barcodeText->setText(text);
    window().leftOffsetBox->setText(left);
    window().topOffsetBox->setText(top);
    const qsizetype before = PdfCount();
    window().printButton->click();
    EXPECT_EQ(PdfCount(), before + (pdf ? 1 : 0));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(printers.CurrentName(), printer);
    const QString file = pdf ? printers.LastPdfPath() : test_support::WaitForCupsPdf(text);
    EXPECT_EQ(window().StatusText(), "1 barcode printed to " + (pdf ? file + " (Save as PDF)" : "the printer \"" + printer + "\""));
    const auto pages = RasterisePdf(file);
    ASSERT_EQ(pages.size(), 1u) << file.toStdString();
    const auto marks = FindMarks(pages[0], 60);
    ASSERT_EQ(marks.size(), 1u);
    const QPointF area = PrintableArea(printer).topLeft();
    const QRect ink = DarkBox(window().finishedPicture().picture);
    const double scale = 300 / 96.0;
    EXPECT_NEAR(marks[0].left(), MmToPx(area.x() + 10 * QString(left).toDouble()) + ink.left() * scale, 2);
    EXPECT_NEAR(marks[0].top(), MmToPx(area.y() + 10 * QString(top).toDouble()) + ink.top() * scale, 2);
    EXPECT_NEAR(marks[0].width(), ink.width() * scale, 2);
    EXPECT_NEAR(marks[0].height(), ink.height() * scale, 2);
    const auto read = test_support::DecodeFile(file, "code39", text);
    EXPECT_EQ(read.exitCode, 0) << read.output.toStdString();
    if (!pdf) QFile::remove(file);
  }
}

// Run It: every number a Print of its own through "Save as PDF".
class RunItTest : public PrintingTest {
 protected:
  // Runs prefix From..To; returns the text box as each Print found it (one entry a job).
  QStringList Run(const QString& prefix, const QString& from, const QString& to) {
    QStringList printed;
    runClock.onEvents = [&](double wait) {
      if (wait > 0) printed << window().barcodeText->text();  // both pauses of a step: around its Print
    };
    const int jobsBefore = printers.JobsSent();
    window().barcodeText->setText(prefix);
    window().rangeFromBox->setText(from);
    window().rangeToBox->setText(to);
    window().runButton->click();
    runClock.onEvents = nullptr;
    printed.removeDuplicates();
    EXPECT_EQ(printers.JobsSent() - jobsBefore, printed.size()) << from.toStdString();
    return printed;
  }
};

// The numbers are jobs::RunRange's, shared with --range (CommandLineTest's
// range test decodes its jobs); the window adds the locale, the boxes written
// back and the pauses.
TEST_F(RunItTest, NumbersCompareAsNumbersInTheUsersLocaleAreWrittenBackInGeneralFormatOrRefused) {
  struct Case {
    const char* locale;
    const char *prefix, *from, *to;
    QStringList printed;
    const char* fromAfter;
    bool refused = false;  // a box that cannot be counted: one message
  };
  window().code128BChoice->setChecked(true);  // Code 128 B carries the decimal comma too
  for (const Case& c : {Case{"C", "ABC", "8", "12", {"ABC8", "ABC9", "ABC10", "ABC11"}, "12"},
                        Case{"C", "N", "007", "010", {"N007", "N8", "N9"}, "10"},
                        Case{"de_DE", "D", "1,5", "3", {"D1,5", "D2,5"}, "3,5"},
                        Case{"C", "N", "0.1", "1.2", {"N0.1", "N1.1"}, "2.1"},
                        Case{"C", "N", "5", "5", {}, "5"}, Case{"C", "N", "9", "5", {}, "9"},
                        Case{"C", "R", "abc", "5", {}, "abc", true}, Case{"C", "R", "1", "", {}, "1", true}}) {
    QLocale::setDefault(QLocale(c.locale));
    runClock.now = 0;
    EXPECT_EQ(Run(c.prefix, c.from, c.to), c.printed) << c.from;
    EXPECT_EQ(window().rangeFromBox->text(), c.fromAfter);
    EXPECT_EQ(window().barcodeText->text(), c.prefix);
    EXPECT_EQ(runClock.now, 2 * c.printed.size());  // two one-second pauses a number
    EXPECT_TRUE(c.printed.size() != 4 || window().StatusText() == "4 barcodes sent to Save as PDF");
    EXPECT_EQ(dialogs.Take().size(), c.refused ? 1 : 0);  // past 15 significant digits: CommandLineTest's range test
  }
  QLocale::setDefault(QLocale::c());
}

TEST_F(RunItTest, ASecondRunOrPrintFileWhileItRunsIsRefusedAndCancelStopsAfterTheNumberBeingPrinted) {
  window().FilePath = QDir(pdfDir.path()).filePath("none.txt");
  int step = 0;
  runClock.onEvents = [&](double) {
    if (++step == 2) {
      window().runButton->click();
      window().printFileButton->click();
    }
    if (step == 3) window().CancelIncrementingRun();  // stops after the number being printed
  };
  window().barcodeText->setText("S");
  window().rangeFromBox->setText("1");
  window().rangeToBox->setText("9");
  window().runButton->click();
  const QStringList shown = dialogs.Take();
  EXPECT_TRUE(shown.size() == 2 && shown[0].startsWith("Run It is printing a range") && shown[1] == shown[0]) << shown.join('|').toStdString();
  EXPECT_TRUE(window().LastIncrementingRun().cancelled);
  EXPECT_EQ(window().rangeFromBox->text(), "2");
  EXPECT_EQ(window().barcodeText->text(), "S");
  EXPECT_EQ(window().StatusText(), "stopped after S1: 1 of 8 sent");
}

}  // namespace

// Avery L7160 chosen in the dialog and kept for the next start (a stored
// value that names nothing is no labels and no settings error); the preview
// shows the pages Print File sends, on labels or not. Where the barcodes lie
// on a sheet is measured on the printed PDF (CommandLineTest's label test);
// the preview paints with the same job, and window_smoke.sh counts its labels.
TEST_F(PrintCommandTest, TheLabelSheetChosenIsKeptAndThePreviewShowsThePagesPrintFileSends) {
  settings.SaveSetting(window::kApp, window::kSection, "labels", "Nonesuch 12");
  settings.SaveSetting(window::kApp, window::kSection, "firstlabel", "x");
  Restart();
  EXPECT_EQ(window().CurrentLabels(), nullptr);
  EXPECT_TRUE(dialogs.shown.empty());
  window().labelSheetAction->trigger();
  window::LabelDialog* chooser = window().OpenLabelDialog();
  ASSERT_NE(chooser, nullptr);
  QTest::keyClicks(chooser->searchBox, "L7160");
  ASSERT_NE(chooser->Selected(), nullptr);
  EXPECT_EQ(chooser->firstLabelBox->maximum(), 21);
  QTest::keyClick(chooser->searchBox, Qt::Key_Return);
  EXPECT_EQ(Restart().CurrentLabelChoice().product, "Avery L7160");
  ASSERT_NE(window().CurrentLabels(), nullptr);
  window().printerBox->setEditText(platform::kSaveAsPdf);  // the restart shows the system's default printer
  window().RunPauseSeconds = 0;  // Run It on labels: one job, a number a label
  window().barcodeText->setText("R");
  window().rangeFromBox->setText("1");
  window().rangeToBox->setText("4");
  window().runButton->click();
  EXPECT_EQ(PdfCount(), 1);
  EXPECT_EQ(test_support::ReadSymbols(printers.LastPdfPath(), "code128").size(), 3u);
  EXPECT_TRUE(window().StatusText().startsWith("3 barcode(s) printed on labels")) << window().StatusText().toStdString();

  QByteArray lines;
  for (int i = 1; i <= 25; ++i) lines += "P" + QByteArray::number(i) + "\n";
  ASSERT_TRUE(test_support::WriteFile(pdfDir.filePath("lines.txt"), lines));
  const QByteArray home = qgetenv("HOME");  // a path from the home folder, as the preview opens it too
  qputenv("HOME", pdfDir.path().toLocal8Bit());
  window().FilePath = "~/lines.txt";
  for (const int labelPages : {2, 0}) {
    if (!labelPages) window().SetLabelChoice({});
    window().printPreviewAction->trigger();
    window::PrintPreview* preview = window().OpenPreview();
    ASSERT_NE(preview, nullptr);
    QCoreApplication::processEvents();
    const int pages = preview->PageCount();
    EXPECT_TRUE(!labelPages || pages == labelPages) << pages;
    EXPECT_EQ(preview->countLabel->text(), QString("%1 page(s)").arg(pages));
    preview->printButton->click();
    EXPECT_EQ(RasterisePdf(printers.LastPdfPath(), 20).size(), static_cast<size_t>(pages));
    EXPECT_TRUE(window().StatusText().startsWith("25 barcode(s) from 25 lines")) << window().StatusText().toStdString();
  }
  qputenv("HOME", home);
  EXPECT_EQ(PdfCount(), 3);
  // Without the templates the entry is disabled and says where they would come from.
  QTemporaryDir empty;
  qputenv("QUILLON_LABEL_TEMPLATES", empty.path().toLocal8Bit());
  Restart();
  qunsetenv("QUILLON_LABEL_TEMPLATES");
  EXPECT_FALSE(window().labelSheetAction->isEnabled());
  EXPECT_TRUE(window().labelSheetAction->toolTip().contains("glabels-data"));
}
