// The printers layer on its built-in "Save as PDF" printer, read back from
// the rasterised PDF; and the reader of ANSI text lines.
#include "platform/ansi_lines.h"
#include "platform/printers.h"
#include "support/printed_pages.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using platform::PageUnit;
using platform::Printers;
using test_support::FindMarks;
using test_support::RasterisePdf;

constexpr double kMarginMm = 6.35;  // the "Save as PDF" page's printable area starts here
// Four device pixels to a picture pixel: poppler smooths any smaller
// enlargement by itself, which would hide whether the PDF asks for it.
constexpr int kDpi = 384;
double Px(double mm) { return mm / 25.4 * kDpi; }

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
  return path;
}

TEST(AnsiLineReader, CrLfAndLoneCrEndLinesLoneLfStaysWindows1252Decoded) {
  QTemporaryDir dir;
  const QString path = WriteFile(dir, QStringLiteral("lines.txt"),
                                 QByteArray("one\r\ntwo\rthree\nstill three\r\r\n\x80 caf\xe9\r\nlast", 41));
  platform::AnsiLineReader reader;
  ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
  QStringList lines;
  while (!reader.AtEnd()) lines << reader.ReadLine();
  const QStringList expected{QStringLiteral("one"),
                             QStringLiteral("two"),
                             QStringLiteral("three\nstill three"),
                             QString(),
                             QStringLiteral("\u20ac caf\u00e9"),
                             QStringLiteral("last")};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(platform::AnsiLineReader::CountLines(path), expected.size());

  // A final terminator adds no empty line; an empty file has none.
  const QString ended = WriteFile(dir, QStringLiteral("ended.txt"), "a\r\n");
  EXPECT_EQ(platform::AnsiLineReader::CountLines(ended), 1);
  ASSERT_TRUE(reader.Open(ended));
  EXPECT_EQ(reader.ReadLine(), QStringLiteral("a"));
  EXPECT_TRUE(reader.AtEnd());
  ASSERT_TRUE(reader.Open(WriteFile(dir, QStringLiteral("empty.txt"), "")));
  EXPECT_TRUE(reader.AtEnd());
}

TEST(AnsiLineReader, SaysWhyAFileCannotBeOpened) {
  QTemporaryDir dir;
  platform::AnsiLineReader reader;
  EXPECT_FALSE(reader.Open(dir.filePath(QStringLiteral("missing.txt"))));
  EXPECT_EQ(reader.Error(), QStringLiteral("No such file or directory"));
  EXPECT_FALSE(reader.Open(dir.path()));
  EXPECT_EQ(reader.Error(), QStringLiteral("it is a folder, not a file"));
}

TEST(Printers, TheListEndsWithSaveAsPdfAndOnlyAnExactNameSelects) {
  QTemporaryDir dir;
  Printers printers(dir.path());
  const QStringList names = printers.Names();
  ASSERT_FALSE(names.isEmpty());
  EXPECT_EQ(names.last(), platform::kSaveAsPdf);
  EXPECT_EQ(names.count(platform::kSaveAsPdf), 1);
  EXPECT_TRUE(names.contains(printers.CurrentName()));

  printers.SelectPrinter(platform::kSaveAsPdf);
  EXPECT_EQ(printers.CurrentName(), platform::kSaveAsPdf);
  for (const QString& other : names) {
    if (other == platform::kSaveAsPdf) continue;
    printers.SelectPrinter(other);
    EXPECT_EQ(printers.CurrentName(), other);
    break;
  }
  const QString before = printers.CurrentName();
  for (const char* name : {"", "save as pdf", "Save as PDF ", "No Such Printer"}) {
    printers.SelectPrinter(QString::fromLatin1(name));
    EXPECT_EQ(printers.CurrentName(), before) << name;
  }
}

TEST(Printers, SaveAsPdfPaintsAtNaturalSizeWithoutSmoothingOneFilePerJob) {
  QTemporaryDir dir;
  Printers printers(dir.filePath(QStringLiteral("out")));  // made when needed
  printers.SelectPrinter(platform::kSaveAsPdf);
  EXPECT_TRUE(printers.EndDoc());  // nothing printed: no file
  EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("out"))).exists());

  // 96 x 48 pixels: one inch by half an inch. Bars one pixel wide on the left.
  QImage picture(96, 48, QImage::Format_RGB32);
  picture.fill(Qt::black);
  for (int x = 1; x < 24; x += 2)
    for (int y = 0; y < 48; ++y) picture.setPixel(x, y, 0xFFFFFFFF);
  printers.SetScaleMode(PageUnit::Centimetres);
  printers.PaintPicture(picture, 1, 2);
  EXPECT_EQ(printers.CurrentX(), 0);  // painting does not move the position
  ASSERT_TRUE(printers.EndDoc()) << printers.LastError().toStdString();
  const QString first = printers.LastPdfPath();
  EXPECT_TRUE(QRegularExpression(QStringLiteral("/out/quillon-\\d{8}-\\d{6}-1\\.pdf$")).match(first).hasMatch())
      << first.toStdString();

  const auto pages = RasterisePdf(first, kDpi);
  ASSERT_EQ(pages.size(), 1u);
  const auto marks = FindMarks(pages[0], 10);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_NEAR(marks[0].left(), Px(kMarginMm + 10), 1.5);
  EXPECT_NEAR(marks[0].top(), Px(kMarginMm + 20), 1.5);
  EXPECT_NEAR(marks[0].width(), kDpi, 2);
  EXPECT_NEAR(marks[0].height(), kDpi / 2, 2);
  // Sharp edges: across the one-pixel bars every pixel is black or white.
  const int row = marks[0].center().y();
  int grey = 0;
  for (int x = marks[0].left(); x < marks[0].left() + Px(24 / 96.0 * 25.4); ++x) {
    const int g = qGray(pages[0].pixel(x, row));
    grey += (g > 60 && g < 195) ? 1 : 0;
  }
  EXPECT_EQ(grey, 0);

  printers.PaintPicture(picture, 0, 0);
  ASSERT_TRUE(printers.EndDoc());
  EXPECT_TRUE(printers.LastPdfPath().endsWith(QStringLiteral("-2.pdf"))) << printers.LastPdfPath().toStdString();
  EXPECT_EQ(printers.JobsSent(), 2);
}

TEST(Printers, TextLinesMoveDownAndContinueOnANewPage) {
  QTemporaryDir dir;
  Printers printers(dir.path());
  printers.SelectPrinter(platform::kSaveAsPdf);
  printers.SetScaleMode(PageUnit::Millimetres);
  const double line = printers.TextHeight();
  ASSERT_GT(line, 2.5);
  ASSERT_LT(line, 7);
  printers.Print(QStringLiteral("first"));
  EXPECT_NEAR(printers.CurrentY(), line, 1e-9);
  printers.Print(QStringLiteral(" \r\n"));  // a blank and a line break: two lines
  EXPECT_NEAR(printers.CurrentY(), 3 * line, 1e-9);
  const int perPage = static_cast<int>(std::floor(printers.ScaleHeight() / line));
  while (printers.Page() == 1) printers.Print(QStringLiteral("XXXX"));
  EXPECT_NEAR(printers.CurrentY(), line, 1e-9);  // the line that did not fit went on page 2
  ASSERT_TRUE(printers.EndDoc());
  EXPECT_EQ(test_support::PdfPageCount(printers.LastPdfPath()), 2);
  // Page 1 holds as many lines as fit: the first, the blank pair, then the Xs.
  const auto pages = RasterisePdf(printers.LastPdfPath(), 100);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(static_cast<int>(FindMarks(pages[0], 100).size()), perPage - 2);
  EXPECT_EQ(FindMarks(pages[1], 100).size(), 1u);
}

}  // namespace
