// Printing a text file: which lines become barcodes, the layout read back
// from the rasterised PDF, and the faults of a run.
#include "printing/printing_support.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

using namespace printing_test;
using test_support::ReadSymbol;
using test_support::ReadSymbols;

TEST(BarcodeValue, ThePatternIsTestedExactlyOnTheLineTrimmedOfSpaces) {
  EXPECT_EQ(jobs::BarcodeValue("   ID:77  ", "ID:", false), "77");
  EXPECT_EQ(jobs::BarcodeValue("ID: 12", "ID:", true), "ID: 12");
  EXPECT_EQ(jobs::BarcodeValue("", "", false), "");  // every line matches an empty pattern
  const char* const misses[][2] = {{"ID:1", "id:"}, {"ID:9", "ID: "}, {"ID", "ID:"}, {"\tID:5", "ID:"}};
  for (const auto& m : misses) EXPECT_EQ(jobs::BarcodeValue(m[0], m[1], false), std::nullopt) << m[0];
}

// 30 lines (matching, blank-padded, blank, other case, a lone LF inside;
// CR LF and lone CR endings, none at the end) and what the decoders must
// read. The lone LF ends "note", so "ID:\x01" is a line of its own, which no
// symbology can encode: five refused lines, each leaving an empty slot.
std::pair<QByteArray, QStringList> ThirtyLines(const SymbologyCase& sym) {
  QByteArray bytes;
  QStringList values;
  for (int i = 0, k = 0; i < 30; ++i) {
    const QString value = sym.value(k);
    const QString lines[] = {"ID:" + value, "", "   ID:" + value + "  ", "ID:" + value, "note\nID:\x01", "id:" + value};
    if (i % 6 == 0 || i % 6 == 2 || i % 6 == 3) values << sym.read(sym.value(k++));
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
  // Prints the file as "Print File" does; the run's result.
  const jobs::FileRunResult& PrintFile(const QString& path) {
    window().FilePath = path;
    window().PrintFile();
    return window().LastFileRun();
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
      EXPECT_EQ(read[i].zbar + "|" + read[i].zxing, values[i] + "|" + values[i]) << i << " on page " << read[i].page;
      EXPECT_TRUE(area.adjusted(-2, -2, 2, 2).contains(QRectF(read[i].box))) << "symbol " << i << " is cut";
      for (size_t j = i + 1; j < read.size(); ++j)
        EXPECT_FALSE(read[i].page == read[j].page && read[i].box.intersects(read[j].box)) << i << " and " << j;
    }
  }
  // The bars on paper are the picture's at 1 pixel = 1/96 inch: along a row
  // through the bars, every light/dark edge of the printed symbol (300 dpi)
  // lies within a printer pixel and a half of where the picture, its left
  // edge at left (page pixels), puts it.
  static void ExpectBarsAsInPicture(const QImage& page, const QRect& box, const QImage& picture, double left) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const QRect dark = DarkBox(grey);
    const double scale = 300 / 96.0;
    const int row = dark.top() + dark.height() / 3;  // above any text line
    const auto edges = [](const QImage& image, int y, int from, int to) {
      std::vector<int> at;
      for (int x = std::max(from, 1); x < std::min(to, image.width()); ++x)
        if ((image.constScanLine(y)[x] < 128) != (image.constScanLine(y)[x - 1] < 128)) at.push_back(x);
      return at;
    };
    const std::vector<int> drawn = edges(grey, row, 0, grey.width());
    const std::vector<int> printed =
        edges(page, box.top() + static_cast<int>((row - dark.top() + 0.5) * scale), box.left() - 4, box.right() + 6);
    ASSERT_EQ(printed.size(), drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i)
      EXPECT_NEAR(printed[i], left + drawn[i] * scale, 1.5) << "edge " << i;
  }

  // The 30-line file in every symbology, in one column and in three.
  void PrintEverySymbology(bool cups) {
    window().printerBox->setEditText(cups ? "PDF" : platform::kSaveAsPdf);
    const QRectF area = PrintableArea(window().printerBox->currentText());
    window().linePatternBox->setText("ID:");
    for (const SymbologyCase& sym : kSymbologies)
      for (const int columns : {0, 1}) {
        SCOPED_TRACE(std::string(sym.name) + (columns ? " in columns" : " in one column"));
        (window().*sym.option)->setChecked(true);
        window().columnsCheck->SetValue(columns);
        const auto [bytes, values] = ThirtyLines(sym);
        const QString token = QString("run%1%2n%3").arg(sym.name).arg(columns).arg(QCoreApplication::applicationPid());
        const QString path = Write(token + ".txt", bytes);
        const qsizetype pdfs = PdfCount();
        const auto& run = PrintFile(path);
        EXPECT_EQ(run.status, jobs::FileRunResult::Status::Sent);
        // Lines, matching ones (the blank lines do not start with "ID:"), refused ones, the first refused.
        EXPECT_EQ(std::tuple(run.lines, run.matching, run.refused, run.firstRefused.value(0).number),
                  std::tuple(35, 20, 5, 6));
        EXPECT_EQ(PdfCount(), pdfs + (cups ? 0 : 1));  // one job
        const QString pdf = cups ? test_support::WaitForCupsPdf(token) : window().LastFileRun().pdfPath;
        const auto read = ReadSymbols(pdf, sym.decodeAs);
        ExpectRead(read, values, area);
        if (columns && read.size() >= 4) {
          // Three to a row at 0, 75 and 150 mm; the next row six text lines lower.
          // The run ends on a refused line: the first value's picture gives the lead.
          window().barcodeText->setText(sym.value(0));
          const double lead = DarkBox(window().finishedPicture().picture).left() * 300 / 96.0;
          const auto pages = test_support::RasterisePdf(pdf);
          ASSERT_FALSE(pages.empty());
          for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(read[c].box.left(), MmToPx(area.left() + 75 * c) + lead, 3) << c;
            EXPECT_EQ(read[c].box.top(), read[0].box.top());
            window().barcodeText->setText(sym.value(c));
            ExpectBarsAsInPicture(pages[0], read[c].box, window().finishedPicture().picture,
                                  MmToPx(area.left() + 75 * c));
          }
          // The empty slot of line 6 is the first of the second row.
          EXPECT_NEAR(read[3].box.left(), read[1].box.left(), 1);  // text edges may round apart
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

// The decoders read the matching lines and the printed text lines read back
// as the file's characters (every line end and encoding: TextLineReader's
// table). A printed line stands a text line above its barcode; the next line
// comes six text lines below the barcode's top.
TEST_F(FileRunTest, LineEndsAndEncodingsPrintTheMatchingLinesAndTheFilesCharactersInTheirPlaces) {
  window().linePatternBox->setText("ID:");
  window().printLineCheck->SetValue(1);
  for (const QByteArray& bytes :
       {QByteArray("ID:A1\r\ncaf\xe9 \x80\r\nID:B2\r\n"), QByteArray("\xef\xbb\xbfID:A1\rcaf\xc3\xa9 \xe2\x82\xac\rID:B2")}) {
    SCOPED_TRACE(bytes.toHex().toStdString());
    ASSERT_EQ(PrintFile(Write("kinds.txt", bytes)).barcodes, 2);
    const QString pdf = window().LastFileRun().pdfPath;
    const std::vector<ReadSymbol> marks = ReadSymbols(pdf, "code39");
    std::vector<ReadSymbol> symbols;  // the marks as tall as bars, not the text lines
    for (const ReadSymbol& r : marks)
      if (r.box.height() > MmToPx(6)) symbols.push_back(r);
    ExpectRead(symbols, {"A1", "B2"});
    QStringList printed;
    for (const QString& l : test_support::PdfText(pdf).split('\n'))
      if (!l.trimmed().isEmpty()) printed << l.trimmed();
    EXPECT_EQ(printed, QStringList({"ID:A1", QStringLiteral("caf\u00e9 \u20ac"), "ID:B2"}));
    ASSERT_EQ(marks.size(), 5u);  // ID:A1, its barcode, the text, ID:B2, its barcode
    const double line = MmToPx(printers.TextHeight());
    EXPECT_NEAR(marks[1].box.top(), MmToPx(PrintableArea(platform::kSaveAsPdf).top()) + line, 2);
    EXPECT_NEAR(marks[3].box.top() - marks[0].box.top(), 8 * line, 2);  // the accents reach higher than "ID:"
    EXPECT_NEAR(marks[4].box.top() - marks[1].box.top(), 8 * line, 2);
  }
}

// Nothing printed: no job. Empty slots before the first barcode still move it down.
TEST_F(FileRunTest, RefusedLinesAreListedOnceAtTheEndAndEmptySlotsAloneSendNoJob) {
  QByteArray bytes = "ID:OK\n";
  for (int i = 0; i < 12; ++i) bytes += QString("ID:a#%1\t\n").arg(i).toLatin1();
  window().linePatternBox->setText("ID:");
  window().FilePath = Write("refused.txt", bytes);
  window().printFileButton->click();
  const QString message = dialogs.Take().join('|');
  EXPECT_TRUE(message.startsWith("12 of 13 matching lines gave no barcode:\nline 2: \"ID:a#0\\t\": Code 39 cannot encode"))
      << message.toStdString();
  EXPECT_TRUE(message.contains("\nline 11: \"ID:a#9\\t\": ") && !message.contains("line 12:"));
  EXPECT_TRUE(message.endsWith("\n(and 2 more)"));
  EXPECT_EQ(PdfCount(), 1);

  window().FilePath = "-";  // standard input only on the command line
  window().printFileButton->click();
  EXPECT_EQ(dialogs.Take(), QStringList{"Cannot open \"./-\" to print: No such file or directory."});

  window().linePatternBox->setText("");
  window().printLineCheck->SetValue(1);  // blank lines are no text to print either
  window().FilePath = Write("blank.txt", "\n  \r\n\n");
  window().printFileButton->click();
  EXPECT_EQ(dialogs.Take(), QStringList{"No line of \"" + window().FilePath + "\" gave a barcode or text to print. Nothing was printed."});
  EXPECT_EQ(PdfCount(), 1);
  window().printLineCheck->SetValue(0);
  ASSERT_EQ(PrintFile(Write("late.txt", "\n\nLATE")).barcodes, 1);
  const auto read = ReadSymbols(window().LastFileRun().pdfPath, "code39");
  ExpectRead(read, {"LATE"});
  const double ink = DarkBox(window().finishedPicture().picture).top() * 300 / 96.0;
  EXPECT_NEAR(read[0].box.top(), MmToPx(PrintableArea(platform::kSaveAsPdf).top() + 12 * printers.TextHeight()) + ink, 3);
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
    window().barHeightBox->setText(c.barHeight);
    window().columnsCheck->SetValue(c.columns);
    QStringList values;
    QByteArray bytes;
    for (int i = 0; i < c.count; ++i)
      bytes += (values << QString(c.value).arg(i, 4, 10, QChar('0'))).last().toLatin1() + "\r\n";
    ASSERT_EQ(PrintFile(Write("big.txt", bytes)).barcodes, c.count);
    const auto read = ReadSymbols(window().LastFileRun().pdfPath, "code39");
    ExpectRead(read, values);
    ASSERT_FALSE(read.empty());
    EXPECT_GT(read[0].box.width(), MmToPx(c.minWidthMm));
    EXPECT_TRUE(!c.lastPage || read.back().page == c.lastPage) << read.back().page;
    for (size_t i = 1; i < read.size(); ++i)  // a quiet zone of at least a quarter inch between the symbols of a row
      EXPECT_TRUE(read[i].box.top() != read[i - 1].box.top() ||
                  read[i].box.left() - read[i - 1].box.right() >= MmToPx(6.35) - 2) << i;
  }
}

TEST_F(FileRunTest, WhileAFilePrintsPrintAndPrintFileAreRefusedAndCancelEndsTheJobCleanly) {
  QStringList values;
  QByteArray bytes;
  for (int i = 0; i < 200; ++i) bytes += (values << QString("C%1").arg(i)).last().toLatin1() + "\r\n";
  window().FilePath = Write("long.txt", bytes);
  int ticks = 0;
  QTimer during;
  QObject::connect(&during, &QTimer::timeout, [&] {
    if (++ticks == 1) {
      window().printFileButton->click();  // a second run
      window().printButton->click();  // a Print into the open document
    }
    if (ticks == 12) window().CancelFileRun();
  });
  during.start(0);
  window().printFileButton->click();
  during.stop();
  const QStringList shown = dialogs.Take();
  EXPECT_TRUE(shown.size() == 2 && shown[0].startsWith("A file is being printed.") && shown[1] == shown[0]) << shown.join('|').toStdString();
  const auto& run = window().LastFileRun();
  EXPECT_TRUE(run.cancelled);
  EXPECT_EQ(run.status, jobs::FileRunResult::Status::Sent);
  ASSERT_GT(run.barcodes, 0);
  ASSERT_LT(run.barcodes, 20);
  ASSERT_EQ(PdfCount(), 1);
  ExpectRead(ReadSymbols(run.pdfPath, "code39"), values.mid(0, run.barcodes));
  // The status line says what happened, and where the PDF went.
  EXPECT_EQ(window().StatusText(), QString("Cancelled after line %1 of long.txt: %2 barcode(s) printed to %3 (Save as PDF)")
                                     .arg(run.lines).arg(run.barcodes).arg(run.pdfPath));
  EXPECT_EQ(window().StatusFolder(), QFileInfo(run.pdfPath).absolutePath());
  window().printFileButton->click();  // the next run starts afresh
  EXPECT_TRUE(!window().LastFileRun().cancelled && window().LastFileRun().barcodes == 200);
}

}  // namespace
