// Printing a text file: which lines become barcodes, the layout read back
// from the rasterised PDF, and the faults of a run.
#include "app/command_line.h"
#include "printing/printing_support.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

using namespace printing_test;
using test_support::ReadSymbol;
using test_support::ReadSymbols;

TEST(BarcodeValue, ThePatternIsTestedExactlyOnTheLineTrimmedOfSpaces) {
  EXPECT_EQ(printing::BarcodeValue("   ID:77  ", "ID:", false), "77");
  EXPECT_EQ(printing::BarcodeValue("ID: 12", "ID:", true), "ID: 12");
  EXPECT_EQ(printing::BarcodeValue("", "", false), "");  // every line matches an empty pattern
  const char* const misses[][2] = {{"ID:1", "id:"}, {"ID:9", "ID: "}, {"ID", "ID:"}, {"\tID:5", "ID:"}};
  for (const auto& m : misses) EXPECT_EQ(printing::BarcodeValue(m[0], m[1], false), std::nullopt) << m[0];
}

// 30 lines (matching, blank-padded, blank, other case, lone LF inside; CR LF
// and lone CR endings, none at the end) and what the decoders must read.
std::pair<QByteArray, QStringList> ThirtyLines(const SymbologyCase& sym) {
  QByteArray bytes;
  QStringList values;
  for (int i = 0, k = 0; i < 30; ++i) {
    const QString value = sym.value(k);
    const QString lines[] = {"ID:" + value, "", "   ID:" + value + "  ", "note\nID:0", "id:" + value, "ID:" + value};
    if (i % 6 == 0 || i % 6 == 2 || i % 6 == 5) values << sym.read(sym.value(k++));
    bytes += lines[i % 6].toLatin1() + (i == 29 ? "" : i % 2 ? "\r" : "\r\n");
  }
  return {bytes, values};
}

class FileRunTest : public PrintingTest {
 protected:
  void SetUp() override {
    PrintingTest::SetUp();
    printers.SetScaleMode(platform::PageUnit::Millimetres);
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    EXPECT_TRUE(test_support::WriteFile(files.filePath(name), bytes));
    return files.filePath(name);
  }
  // Both decoders read exactly the values, one symbol each, in order; no two
  // symbols overlap and none passes the printable area.
  static void ExpectRead(const std::vector<ReadSymbol>& read, const QStringList& values,
                         QRectF mm = PrintableArea(platform::kSaveAsPdf)) {
    ASSERT_EQ(read.size(), static_cast<size_t>(values.size()));
    const QRectF area = QRectF(MmToPx(mm.left()), MmToPx(mm.top()), MmToPx(mm.width()), MmToPx(mm.height()));
    for (size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].zbar, values[i]) << "symbol " << i << " on page " << read[i].page;
      EXPECT_EQ(read[i].zxing, values[i]) << "symbol " << i << " on page " << read[i].page;
      EXPECT_TRUE(area.adjusted(-2, -2, 2, 2).contains(QRectF(read[i].box))) << "symbol " << i << " is cut";
      for (size_t j = i + 1; j < read.size(); ++j)
        EXPECT_FALSE(read[i].page == read[j].page && read[i].box.intersects(read[j].box)) << i << " and " << j;
    }
  }
  // The 30-line file in every symbology, in one column and in three.
  void PrintEverySymbology(bool cups) {
    form().Combo1->setEditText(cups ? "PDF" : platform::kSaveAsPdf);
    const QRectF area = PrintableArea(form().Combo1->currentText());
    form().Text4->setText("ID:");
    for (const SymbologyCase& sym : kSymbologies)
      for (const int columns : {0, 1}) {
        SCOPED_TRACE(std::string(sym.name) + (columns ? " in columns" : " in one column"));
        (form().*sym.option)->setChecked(true);
        form().Checkqq->SetValue(columns);
        const auto [bytes, values] = ThirtyLines(sym);
        const QString token = QString("run%1%2n%3").arg(sym.name).arg(columns).arg(QCoreApplication::applicationPid());
        const QString path = Write(token + ".txt", bytes);
        const qsizetype pdfs = PdfCount();
        EXPECT_EQ(app::PrintFileCommand(form(), "  " + path + " "), 0);
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(PdfCount(), pdfs + (cups ? 0 : 1));  // one job
        const QString pdf = cups ? test_support::WaitForCupsPdf(token) : form().LastFileRun().pdfPath;
        const auto read = ReadSymbols(pdf, sym.decodeAs);
        ExpectRead(read, values, area);
        if (columns && read.size() >= 4) {
          // Three to a row at 0, 75 and 150 mm; the fourth six text lines below the first.
          const double lead = DarkBox(form().FinishedPicture()).left() * 300 / 96.0;
          for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(read[c].box.left(), MmToPx(area.left() + 75 * c) + lead, 3) << c;
            EXPECT_EQ(read[c].box.top(), read[0].box.top());
          }
          EXPECT_EQ(read[3].box.left(), read[0].box.left());
          EXPECT_NEAR(read[3].box.top() - read[0].box.top(), MmToPx(6 * printers.TextHeight()), 2);
        }
        if (cups) QFile::remove(pdf);
      }
  }

  QTemporaryDir files;
};

TEST_F(FileRunTest, SaveAsPdfGivesOneJobWhoseBarcodesReadAsTheMatchingLinesInOneAndThreeColumns) {
  PrintEverySymbology(false);
}

TEST_F(FileRunTest, ThroughCupsOneJobInOneAndThreeColumns) {
  REQUIRE_CUPS();
  PrintEverySymbology(true);
}

TEST_F(FileRunTest, PrintedLinesStandAboveTheirBarcodeAndRowsAreSixTextLines) {
  form().Text4->setText("ID:");
  form().CheckPrintLine->SetValue(1);
  ASSERT_EQ(app::PrintFileCommand(form(), Write("lines.txt", "ID:A1\r\nXNOTE\rXNOTE\r\n")), 0);
  const auto pages = test_support::RasterisePdf(form().LastFileRun().pdfPath);
  ASSERT_EQ(pages.size(), 1u);
  const auto marks = test_support::FindMarks(pages[0], 60);
  ASSERT_EQ(marks.size(), 4u);  // the text, the barcode, the two other texts
  // The barcode on the next text line, the next text six lines below the barcode's top.
  const double line = MmToPx(printers.TextHeight());
  EXPECT_NEAR(marks[1].top(), MmToPx(PrintableArea(platform::kSaveAsPdf).top()) + line, 2);
  EXPECT_NEAR(marks[2].top() - marks[0].top(), 7 * line, 2);
  EXPECT_NEAR(marks[3].top() - marks[2].top(), line, 2);
}

TEST_F(FileRunTest, TallAndWideBarcodesNeitherOverlapNorRunOffThePage) {
  struct Case {
    const char *barHeight, *value;
    int columns, count, lastPage;
    double minWidthMm;
  };
  // Bar height 8 is 85 mm, far more than six text lines; the wide values' bars are 82 mm, wider than a column.
  for (const Case& c :
       {Case{"8", "T%1", 0, 7, 3, 0}, Case{"8", "T%1", 1, 7, 0, 0}, Case{"1.4", "WIDE-BARCODE-TEST-%1", 1, 5, 1, 75}}) {
    SCOPED_TRACE(c.value + std::to_string(c.columns));
    form().Text8->setText(c.barHeight);
    form().Checkqq->SetValue(c.columns);
    QStringList values;
    QByteArray bytes;
    for (int i = 0; i < c.count; ++i)
      bytes += (values << QString(c.value).arg(i, 4, 10, QChar('0'))).last().toLatin1() + "\r\n";
    ASSERT_EQ(app::PrintFileCommand(form(), Write("big.txt", bytes)), 0);
    const auto read = ReadSymbols(form().LastFileRun().pdfPath, "code39");
    ExpectRead(read, values);
    ASSERT_FALSE(read.empty());
    EXPECT_GT(read[0].box.width(), MmToPx(c.minWidthMm));
    if (c.lastPage) {
      EXPECT_EQ(read.back().page, c.lastPage);
    }
    // A quiet zone of at least a quarter inch between the symbols of a row.
    for (size_t i = 1; i < read.size(); ++i)
      if (read[i].box.top() == read[i - 1].box.top()) {
        EXPECT_GE(read[i].box.left() - read[i - 1].box.right(), MmToPx(6.35) - 2) << i;
      }
  }
}

TEST_F(FileRunTest, WhileAFilePrintsPrintAndPrintFileAreRefusedAndCancelEndsTheJobCleanly) {
  QStringList values;
  QByteArray bytes;
  for (int i = 0; i < 200; ++i) bytes += (values << QString("C%1").arg(i)).last().toLatin1() + "\r\n";
  form().FilePath = Write("long.txt", bytes);
  int ticks = 0;
  QTimer during;
  QObject::connect(&during, &QTimer::timeout, [&] {
    if (++ticks == 1) {
      form().Command4->click();  // a second run
      form().Command2->click();  // a Print into the open document
    }
    if (ticks == 12) form().CancelFileRun();
  });
  during.start(0);
  form().Command4->click();
  during.stop();
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_TRUE(dialogs.shown[0].text.startsWith("A file is being printed."));
  EXPECT_EQ(dialogs.shown[1].text, dialogs.shown[0].text);
  const auto& run = form().LastFileRun();
  EXPECT_TRUE(run.cancelled);
  EXPECT_EQ(run.status, printing::FileRunResult::Status::Sent);
  ASSERT_GT(run.barcodes, 0);
  ASSERT_LT(run.barcodes, 20);
  ASSERT_EQ(PdfCount(), 1);
  ExpectRead(ReadSymbols(run.pdfPath, "code39"), values.mid(0, run.barcodes));
  // The status line says what happened, and where the PDF went.
  EXPECT_EQ(form().StatusText(), QString("Cancelled after line %1 of long.txt: %2 barcode(s) printed to %3 (Save as PDF)")
                                     .arg(run.lines).arg(run.barcodes).arg(run.pdfPath));
  form().Command4->click();  // the next run starts afresh
  EXPECT_FALSE(form().LastFileRun().cancelled);
  EXPECT_EQ(form().LastFileRun().barcodes, 200);
  EXPECT_EQ(form().StatusText(), "200 barcode(s) from 200 lines of long.txt printed to " +
                                     form().LastFileRun().pdfPath + " (Save as PDF)");
  EXPECT_EQ(form().StatusFolder(), QFileInfo(form().LastFileRun().pdfPath).absolutePath());
}

}  // namespace
