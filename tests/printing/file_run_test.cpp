// Printing a text file: which lines become which barcodes, the layout on the
// page read back from the rasterised PDF, and the faults of a run.
#include "app/command_line.h"
#include "printing/printing_support.h"
#include "support/form_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include <iostream>

namespace {

using namespace printing_test;
using printing::BarcodeValue;
using test_support::ReadSymbols;

constexpr int kDpi = 300;
constexpr double kPdfMarginMm = 6.35;

TEST(BarcodeValue, ThePatternIsTestedOnTheTrimmedLineExactly) {
  const QString id = QStringLiteral("ID:");
  EXPECT_EQ(BarcodeValue(QStringLiteral("ID: 12345"), id, false), QStringLiteral("12345"));
  EXPECT_EQ(BarcodeValue(QStringLiteral("ID: 12345"), id, true), QStringLiteral("ID: 12345"));
  EXPECT_EQ(BarcodeValue(QStringLiteral("   ID:77  "), id, false), QStringLiteral("77"));
  EXPECT_EQ(BarcodeValue(QStringLiteral("ID:1"), QStringLiteral("id:"), false), std::nullopt);
  EXPECT_EQ(BarcodeValue(QStringLiteral("ID:9"), QStringLiteral("ID: "), false), std::nullopt);
  EXPECT_EQ(BarcodeValue(QStringLiteral("ID"), id, false), std::nullopt);
  EXPECT_EQ(BarcodeValue(QString(), QString(), false), QString());  // every line matches an empty pattern
  // Only spaces are trimmed: a tab stays part of the line.
  EXPECT_EQ(BarcodeValue(QStringLiteral("\tID:5"), id, false), std::nullopt);
}

// A file of 30 lines: matching ones (some with blanks around), blank lines,
// lines with another case or a lone LF inside, CR LF and lone CR endings, and
// a last line without one.
struct TestFile {
  QByteArray bytes;
  QStringList values;  // what the decoders must read, in order
};
TestFile ThirtyLines(const SymbologyCase& sym) {
  TestFile file;
  int k = 0;
  for (int i = 0; i < 30; ++i) {
    QString line;
    switch (i % 6) {
      case 0:
      case 5:
        line = QStringLiteral("ID:") + sym.value(k);
        file.values << sym.read(k++);
        break;
      case 1:
        break;
      case 2:
        line = QStringLiteral("   ID:") + sym.value(k) + QStringLiteral("  ");
        file.values << sym.read(k++);
        break;
      case 3:
        line = QStringLiteral("note\nID:0");
        break;
      case 4:
        line = QStringLiteral("id:") + sym.value(k);
        break;
    }
    file.bytes += line.toLatin1();
    if (i < 29) file.bytes += (i % 2 == 0) ? "\r\n" : "\r";
  }
  return file;
}

class FileRunTest : public test_support::FormTest {
 protected:
  void SetUp() override {
    form().Option2->setChecked(true);
    form().Combo1->setEditText(platform::kSaveAsPdf);
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = files.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
  }
  QStringList Pdfs() const { return QDir(pdfDir.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name); }
  // Both decoders read exactly the expected values, one symbol each, in order.
  // at300: both decoders must read every symbol at 300 dpi; otherwise ZXing
  // may need the second look at twice the resolution.
  static void ExpectRead(const std::vector<test_support::ReadSymbol>& read, const QStringList& values,
                         const char* decoders, bool at300 = false) {
    ASSERT_EQ(read.size(), static_cast<size_t>(values.size()));
    const bool zxing = QString::fromLatin1(decoders).contains(QLatin1String("zxing"));
    int finer = 0;
    for (size_t i = 0; i < read.size(); ++i) {
      finer += read[i].zxingDpi ? 1 : 0;
      EXPECT_EQ(read[i].zbar, values[i]) << "symbol " << i << " on page " << read[i].page;
      if (zxing) {
        EXPECT_EQ(read[i].zxing, values[i]) << "symbol " << i << " on page " << read[i].page;
      }
    }
    if (at300) {
      EXPECT_EQ(finer, 0);
    }
    if (finer > 0)
      std::cout << "ZXing read " << finer << " of " << read.size() << " symbols only at twice the resolution\n";
  }
  // No two symbols overlap and none passes the printable area.
  static void ExpectApartAndWhole(const std::vector<test_support::ReadSymbol>& read, QRectF areaMm) {
    const QRectF area(MmToPx(areaMm.left(), kDpi), MmToPx(areaMm.top(), kDpi), MmToPx(areaMm.width(), kDpi),
                      MmToPx(areaMm.height(), kDpi));
    for (size_t i = 0; i < read.size(); ++i) {
      EXPECT_TRUE(area.adjusted(-2, -2, 2, 2).contains(QRectF(read[i].box))) << "symbol " << i << " is cut";
      for (size_t j = i + 1; j < read.size(); ++j)
        if (read[i].page == read[j].page) {
          EXPECT_FALSE(read[i].box.intersects(read[j].box)) << i << " and " << j;
        }
    }
  }
  QRectF PdfArea() const { return QRectF(kPdfMarginMm, kPdfMarginMm, 210 - 2 * kPdfMarginMm, 297 - 2 * kPdfMarginMm); }

  QTemporaryDir files;
};

TEST_F(FileRunTest, SaveAsPdfGivesOneJobWhoseBarcodesReadAsTheMatchingLinesInOneAndThreeColumns) {
  for (const SymbologyCase& sym : kSymbologies) {
    for (const int columns : {0, 1}) {
      SCOPED_TRACE(std::string(sym.name) + (columns ? " in columns" : " in one column"));
      const QStringList before = Pdfs();
      (form().*sym.option)->setChecked(true);
      form().Text4->setText(QStringLiteral("ID:"));
      form().Checkqq->SetValue(columns);
      const TestFile file = ThirtyLines(sym);
      const QString path = Write(QStringLiteral("%1-%2.txt").arg(QLatin1String(sym.name)).arg(columns), file.bytes);
      EXPECT_EQ(app::PrintFileCommand(form(), QStringLiteral("  ") + path + QStringLiteral(" ")), 0);
      EXPECT_TRUE(dialogs.shown.empty());
      const auto& run = form().LastFileRun();
      EXPECT_EQ(run.lines, 30);
      EXPECT_EQ(run.barcodes, file.values.size());
      EXPECT_EQ(form().Text5->text(), path);
      const QStringList after = Pdfs();
      ASSERT_EQ(after.size(), before.size() + 1);  // one job
      ASSERT_EQ(run.pdfPath, QDir(pdfDir.path()).filePath(after.last()));
      const auto read =
          ReadSymbols(run.pdfPath, QString::fromLatin1(sym.decodeAs), kDpi, QString::fromLatin1(sym.decoders));
      ExpectRead(read, file.values, sym.decoders, sym.zxingAt300);
      ExpectApartAndWhole(read, PdfArea());
      if (columns && read.size() >= 4) {
        // Three to a row at the left edge, 75 mm and 150 mm; the fourth below.
        const double lead = FirstDark(form().FinishedPicture()).x() * kDpi / 96.0;
        EXPECT_NEAR(read[0].box.left(), MmToPx(kPdfMarginMm, kDpi) + lead, 3);
        EXPECT_NEAR(read[1].box.left(), MmToPx(kPdfMarginMm + 75, kDpi) + lead, 3);
        EXPECT_NEAR(read[2].box.left(), MmToPx(kPdfMarginMm + 150, kDpi) + lead, 3);
        EXPECT_EQ(read[0].box.top(), read[1].box.top());
        EXPECT_EQ(read[0].box.top(), read[2].box.top());
        EXPECT_EQ(read[3].box.left(), read[0].box.left());
        // Six text lines of the printer's font below.
        printers.SetScaleMode(platform::PageUnit::Millimetres);
        EXPECT_NEAR(read[3].box.top() - read[0].box.top(), MmToPx(6 * printers.TextHeight(), kDpi), 2);
      }
    }
  }
}

TEST_F(FileRunTest, ThroughCupsOneJobInOneAndThreeColumns) {
  REQUIRE_CUPS();
  form().Combo1->setEditText(QStringLiteral("PDF"));
  QPrinter queue(QPrinterInfo::printerInfo(QStringLiteral("PDF")), QPrinter::HighResolution);
  const QRectF area = queue.pageLayout().paintRect(QPageLayout::Millimeter);
  for (const SymbologyCase& sym : kSymbologies) {
    for (const int columns : {0, 1}) {
      SCOPED_TRACE(std::string(sym.name) + (columns ? " in columns" : " in one column"));
      (form().*sym.option)->setChecked(true);
      form().Text4->setText(QStringLiteral("ID:"));
      form().Checkqq->SetValue(columns);
      const TestFile file = ThirtyLines(sym);
      const QString token = QStringLiteral("cupsrun%1%2%3")
                                .arg(QLatin1String(sym.name))
                                .arg(columns)
                                .arg(QCoreApplication::applicationPid());
      EXPECT_EQ(app::PrintFileCommand(form(), Write(token + QStringLiteral(".txt"), file.bytes)), 0);
      EXPECT_TRUE(dialogs.shown.empty());
      const QString pdf = test_support::WaitForCupsPdf(token);
      ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the CUPS queue for " << token.toStdString();
      const auto read = ReadSymbols(pdf, QString::fromLatin1(sym.decodeAs), kDpi, QString::fromLatin1(sym.decoders));
      ExpectRead(read, file.values, sym.decoders, sym.zxingAt300);
      ExpectApartAndWhole(read, area);
      QFile::remove(pdf);
    }
  }
}

TEST_F(FileRunTest, PrintedLinesStandAboveTheirBarcodeAndRowsAreSixTextLines) {
  form().Text4->setText(QStringLiteral("ID:"));
  form().CheckPrintLine->SetValue(1);
  ASSERT_EQ(app::PrintFileCommand(form(), Write(QStringLiteral("lines.txt"), "ID:A1\r\nXNOTE\rXNOTE\r\n")), 0);
  const auto pages = test_support::RasterisePdf(form().LastFileRun().pdfPath, kDpi);
  ASSERT_EQ(pages.size(), 1u);
  const auto marks = test_support::FindMarks(pages[0], kDpi / 5);
  ASSERT_EQ(marks.size(), 4u);  // the text, the barcode, the two other texts
  printers.SetScaleMode(platform::PageUnit::Millimetres);
  const double line = MmToPx(printers.TextHeight(), kDpi);
  EXPECT_NEAR(marks[1].top(), MmToPx(kPdfMarginMm, kDpi) + line, 2);  // on the next text line
  EXPECT_NEAR(marks[2].top() - marks[0].top(), 7 * line, 2);          // six lines below the barcode's top
  EXPECT_NEAR(marks[3].top() - marks[2].top(), line, 2);
  EXPECT_LT(marks[0].bottom(), marks[1].top());
}

TEST_F(FileRunTest, TallBarcodesNeitherOverlapTheNextRowNorRunOffThePage) {
  // Just under six text lines tall: the rows keep their pitch of six lines.
  form().Text8->setText(QStringLiteral("2.2"));  // 88 pixels: 23.3 mm
  printers.SetScaleMode(platform::PageUnit::Millimetres);
  ASSERT_LT(88 * 25.4 / 96, 6 * printers.TextHeight());
  ASSERT_EQ(app::PrintFileCommand(form(), Write(QStringLiteral("fits.txt"), "F1\r\nF2\r\n")), 0);
  const auto fits = ReadSymbols(form().LastFileRun().pdfPath, QStringLiteral("code39"), kDpi);
  ASSERT_EQ(fits.size(), 2u);
  EXPECT_NEAR(fits[1].box.top() - fits[0].box.top(), MmToPx(6 * printers.TextHeight(), kDpi), 2);

  form().Text8->setText(QStringLiteral("8"));  // 320 pixels: 85 mm, far more than six text lines
  QStringList values;
  QByteArray bytes;
  for (int i = 0; i < 7; ++i) {
    values << QStringLiteral("T%1").arg(i);
    bytes += values.last().toLatin1() + "\r\n";
  }
  for (const int columns : {0, 1}) {
    SCOPED_TRACE(columns ? "columns" : "one column");
    form().Checkqq->SetValue(columns);
    ASSERT_EQ(app::PrintFileCommand(form(), Write(QStringLiteral("tall.txt"), bytes)), 0);
    const auto read = ReadSymbols(form().LastFileRun().pdfPath, QStringLiteral("code39"), kDpi);
    ExpectRead(read, values, "zbar zxing");
    ExpectApartAndWhole(read, PdfArea());
    if (!columns) {
      EXPECT_EQ(read.back().page, 3);  // three to a page
    }
  }
}

TEST_F(FileRunTest, WideBarcodesPushTheNextColumnAsideOrStartTheNextRow) {
  form().Checkqq->SetValue(1);
  QStringList values;
  QByteArray bytes;
  for (int i = 0; i < 5; ++i) {
    values << QStringLiteral("WIDE-BARCODE-TEST-%1").arg(i, 4, 10, QLatin1Char('0'));  // bars of 82 mm
    bytes += values.last().toLatin1() + "\r";
  }
  ASSERT_EQ(app::PrintFileCommand(form(), Write(QStringLiteral("wide.txt"), bytes)), 0);
  const auto read = ReadSymbols(form().LastFileRun().pdfPath, QStringLiteral("code39"), kDpi);
  ASSERT_FALSE(read.empty());
  ASSERT_GT(read[0].box.width(), MmToPx(75, kDpi));
  ExpectRead(read, values, "zbar zxing");
  ExpectApartAndWhole(read, PdfArea());
  // A quiet zone of at least a quarter inch between symbols of a row.
  for (size_t i = 1; i < read.size(); ++i)
    if (read[i].box.top() == read[i - 1].box.top()) {
      EXPECT_GE(read[i].box.left() - read[i - 1].box.right(), MmToPx(6.35, kDpi) - 2);
    }
}

TEST_F(FileRunTest, AFileThatCannotBeOpenedIsNamedWithTheReason) {
  const QString missing = files.filePath(QStringLiteral("missing.txt"));
  EXPECT_EQ(app::PrintFileCommand(form(), missing), 1);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            QStringLiteral("Cannot open \"%1\" to print: No such file or directory.").arg(missing));
  EXPECT_EQ(app::PrintFileCommand(form(), files.path()), 1);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text,
            QStringLiteral("Cannot open \"%1\" to print: it is a folder, not a file.").arg(files.path()));
  EXPECT_TRUE(Pdfs().isEmpty());

  form().FilePath = QStringLiteral("   ");
  form().Command4->click();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[2].text, QStringLiteral("Please Select a File to Print"));
}

TEST_F(FileRunTest, WhileAFilePrintsPrintAndPrintFileAreRefusedAndCancelEndsTheJobCleanly) {
  QStringList values;
  QByteArray bytes;
  for (int i = 0; i < 200; ++i) {
    values << QStringLiteral("C%1").arg(i);
    bytes += values.last().toLatin1() + "\r\n";
  }
  form().FilePath = Write(QStringLiteral("long.txt"), bytes);
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
  EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("A file is being printed.")));
  EXPECT_EQ(dialogs.shown[1].text, dialogs.shown[0].text);
  const auto& run = form().LastFileRun();
  EXPECT_TRUE(run.cancelled);
  EXPECT_EQ(run.status, printing::FileRunResult::Status::Sent);
  ASSERT_GT(run.barcodes, 0);
  ASSERT_LT(run.barcodes, 20);
  ASSERT_EQ(Pdfs().size(), 1);
  const auto read = ReadSymbols(run.pdfPath, QStringLiteral("code39"), kDpi);
  ExpectRead(read, values.mid(0, static_cast<qsizetype>(run.barcodes)), "zbar zxing");
  // The next run starts afresh.
  form().Command4->click();
  EXPECT_FALSE(form().LastFileRun().cancelled);
  EXPECT_EQ(form().LastFileRun().barcodes, 200);
}

}  // namespace
