// The printers layer on its built-in "Save as PDF" printer, read back from
// the rasterised PDF.
#include "platform/printers.h"
#include "platform/output_file.h"
#include "support/printed_pages.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <iostream>

#include <gtest/gtest.h>

namespace {

using platform::Printers;
using test_support::FindMarks;
using test_support::RasterisePdf;

// Every way a write can end: the target holds the whole new content or keeps
// what it had, the error says why, and no temporary file stays behind.
TEST(OutputFile, WritesWholeOrNotAtAllNeverThroughASymlinkAndSaysWhy) {
  using platform::OutputFile;
  using platform::Replace;
  QTemporaryDir dir;
  const QString old = dir.filePath("old.png"), victim = dir.filePath("victim"), link = dir.filePath("link.png");
  test_support::Tmpfs full("size=64k"), readOnly("size=64k,ro");
  ASSERT_TRUE(test_support::WriteFile(victim, "victim"));
  ASSERT_TRUE(QFile::link(victim, link));
  const QByteArray big(200 * 1024, 'x');
  const auto read = [](const QString& path) {
    QFile f(path);
    return path.isEmpty() || path.startsWith("/dev") || !f.open(QIODevice::ReadOnly) ? QByteArray() : f.readAll();
  };
  struct Case {
    QString target;  // "" with folder: OpenNumbered
    Replace replace;
    QByteArray bytes;
    QString error;  // "" for success
    QString folder = {};
    const test_support::Tmpfs* mount = nullptr;  // the case needs this tmpfs
  };
  const Case cases[] = {
      {dir.filePath("new.png"), Replace::Never, "new", ""},
      {old, Replace::Never, "new", old + " already exists"},
      {old, Replace::Allowed, "replaced", ""},
      {dir.filePath("none/x.png"), Replace::Allowed, "x", "the folder " + dir.filePath("none") + " does not exist"},
      {link, Replace::Never, "x", link + " already exists"},
      {"/dev/full", Replace::Never, "x", "no space left on the device"},
      {"", Replace::Never, "one", "", dir.filePath("made/here")},
      {"", Replace::Never, "two", "", dir.filePath("made/here")},
      {full.Path() + "/a.png", Replace::Never, big, "no space left on the device", {}, &full},
      {readOnly.Path() + "/a.png", Replace::Never, "x", "the file system is read-only", {}, &readOnly},
      {"", Replace::Never, "x", "the folder " + readOnly.Path() + "/sub cannot be made: the file system is read-only",
       readOnly.Path() + "/sub", &readOnly},
      {link, Replace::Allowed, "no link", ""},  // the link goes, its target stays
  };
  ASSERT_TRUE(test_support::WriteFile(old, "old"));
  for (const Case& c : cases) {
    if (c.mount && c.mount->Path().isEmpty()) continue;  // not root: the run says why below
    SCOPED_TRACE((c.target + c.folder).toStdString());
    const QByteArray was = read(c.target);
    OutputFile out;
    bool ok = c.folder.isEmpty() ? out.Open(c.target, c.replace) : out.OpenNumbered(c.folder, "quillon-stem", ".pdf");
    if (ok) {
      ok = out.Device()->write(c.bytes) == c.bytes.size() || !c.error.isEmpty();
      ok = out.Commit() && ok;
    }
    EXPECT_EQ(ok, c.error.isEmpty());
    EXPECT_EQ(out.Error(), c.error);
    EXPECT_EQ(read(ok ? out.FinalPath() : c.target), ok ? c.bytes : was);
    const QString folder = c.folder.isEmpty() ? QFileInfo(c.target).absolutePath() : c.folder;
    EXPECT_EQ(QDir(folder).entryList({".quillon-*"}, QDir::Hidden | QDir::Files), QStringList());
  }
  EXPECT_EQ(QDir(dir.filePath("made/here")).entryList(QDir::Files), QStringList({"quillon-stem-1.pdf", "quillon-stem-2.pdf"}));
  EXPECT_EQ(read(victim), "victim");
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  if (full.Path().isEmpty()) std::cout << "tmpfs cases skipped: " << full.Problem().toStdString() << "\n";
}

// Only an exact name selects a printer, others "Save as PDF" (the list the
// window's box shows: OptionsTest; --list-printers: CommandLineTest). Save as
// PDF paints at natural size without smoothing, one numbered file a job and
// none for an empty one; text lines move down and go on on a new page.
TEST(Printers, SaveAsPdfPaintsAtNaturalSizeWithoutSmoothingOneFilePerJobAndTextLinesGoOnOnANewPage) {
  // Four device pixels to a picture pixel: poppler smooths any smaller
  // enlargement by itself, which would hide whether the PDF asks for it.
  constexpr int kDpi = 384;
  QTemporaryDir dir;
  Printers printers(dir.filePath("out"));  // made when needed
  for (const QString& name : printers.Names() + QStringList{"save as pdf", "No Such Printer"}) {
    printers.SelectPrinter(name);
    EXPECT_EQ(printers.CurrentName(), printers.Names().contains(name) ? name : platform::kSaveAsPdf);
  }
  printers.SelectPrinter(platform::kSaveAsPdf);
  EXPECT_TRUE(printers.EndDoc());  // nothing printed: no file
  EXPECT_FALSE(QDir(dir.filePath("out")).exists());
  // One inch by half an inch; bars one pixel wide on the left.
  layout::Drawing picture;
  picture.size = QSize(96, 48);
  for (int x = 0; x < 24; x += 2) picture.bars.push_back(QRect(x, 0, 1, 48));
  picture.bars.push_back(QRect(24, 0, 72, 48));
  printers.Paint(picture, 1, 2);
  EXPECT_EQ(printers.CurrentX(), 0);  // painting does not move the position
  ASSERT_TRUE(printers.EndDoc()) << printers.LastError().toStdString();
  const QString first = printers.LastPdfPath();
  EXPECT_TRUE(QRegularExpression("/out/quillon-\\d{8}-\\d{6}-1\\.pdf$").match(first).hasMatch()) << first.toStdString();
  const auto pages = RasterisePdf(first, kDpi);
  ASSERT_EQ(pages.size(), 1u);
  const auto marks = FindMarks(pages[0], 10);
  ASSERT_EQ(marks.size(), 1u);
  // Sharp edges: across the one-pixel bars every pixel is black or white.
  for (int x = marks[0].left(); x < marks[0].left() + kDpi / 4; ++x) {
    const int g = qGray(pages[0].pixel(x, marks[0].center().y()));
    EXPECT_TRUE(g <= 60 || g >= 195) << x;
  }

  printers.SetScaleMode(platform::PageUnit::Millimetres);
  const double line = printers.TextHeight();
  ASSERT_TRUE(line > 2.5 && line < 7) << line;
  printers.Print("first");
  printers.Print(" \r\n");  // a blank and a line break: two lines
  while (printers.Page() == 1) printers.Print("XXXX");
  ASSERT_TRUE(printers.EndDoc());
  EXPECT_NE(printers.LastPdfPath(), first);
  EXPECT_EQ(printers.JobsSent(), 2);
  // Page 1 holds as many lines as fit: the first, the blank pair, then the Xs; the one that did not fit is on page 2.
  const auto text = RasterisePdf(printers.LastPdfPath(), 100);
  ASSERT_EQ(text.size(), 2u);
  EXPECT_EQ(FindMarks(text[0], 100).size(), static_cast<size_t>(printers.ScaleHeight() / line) - 2);
  EXPECT_EQ(FindMarks(text[1], 100).size(), 1u);
}

}  // namespace
