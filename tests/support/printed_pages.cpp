#include "support/printed_pages.h"

#include "platform/printers.h"

#include "support/decode.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

namespace test_support {

std::vector<QImage> RasterisePdf(const QString& pdf, int dpi) {
  QTemporaryDir dir;
  QProcess p;
  p.start("pdftoppm", {"-r", QString::number(dpi), "-gray", "-png", pdf, dir.filePath("page")});
  p.waitForFinished(120000);
  std::vector<QImage> pages;
  // pdftoppm pads the page numbers, so the names sort in page order.
  for (const QString& f : QDir(dir.path()).entryList({"page*.png"}, QDir::Files, QDir::Name)) {
    QImageReader reader(dir.filePath(f));
    reader.setAllocationLimit(1024);  // megabytes: a page at 600 dpi passes Qt's default
    pages.push_back(reader.read().convertToFormat(QImage::Format_Grayscale8));
  }
  return pages;
}

std::vector<QRect> FindMarks(const QImage& page, int minGap) {
  const int w = page.width(), h = page.height();
  const auto dark = [&](int x0, int x1, int y0, int y1) {  // a dark pixel in the box
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        if (qGray(page.pixel(x, y)) < 128) return true;
    return false;
  };
  std::vector<QRect> marks;
  for (int top = 0; top < h; ++top) {
    if (!dark(0, w - 1, top, top)) continue;
    int bottom = top;
    while (bottom + 1 < h && dark(0, w - 1, bottom + 1, bottom + 1)) ++bottom;
    for (int x = 0, left = -1, right = -1; x <= w; ++x) {
      if (x < w && dark(x, x, top, bottom)) {
        right = x;
        left = left < 0 ? x : left;
      } else if (left >= 0 && (x - right >= minGap || x == w)) {
        marks.emplace_back(QPoint(left, top), QPoint(right, bottom));
        left = -1;
      }
    }
    top = bottom;
  }
  return marks;
}

QString PdfText(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {pdf, "-"});
  return p.waitForFinished(60000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

std::vector<ReadSymbol> ReadSymbols(const QString& pdf, const QString& symbology, int dpi) {
  std::vector<ReadSymbol> found;
  const std::vector<QImage> pages = RasterisePdf(pdf, dpi);
  std::vector<QImage> finer;  // twice the resolution, made when needed
  const auto read = [&](const QImage& mark, const QString& decoders, ReadSymbol& s) {
    QTemporaryDir dir;
    Enlarge(mark, 1, 40).save(dir.filePath("mark.png"), "PNG");
    for (const QString& line : DecodeFile(dir.filePath("mark.png"), symbology, {}, decoders).output.split('\n')) {
      const QStringList f = line.split('\t');
      if (f.size() == 3) (f[0] == "zbar" ? s.zbar : s.zxing) = f[2];
    }
  };
  for (size_t p = 0; p < pages.size(); ++p) {
    // A quarter inch of white separates symbols; gaps inside one are far narrower.
    for (const QRect& box : FindMarks(pages[p], dpi / 5)) {
      ReadSymbol s{static_cast<int>(p) + 1, box, {}, {}};
      read(pages[p].copy(box), "zbar zxing", s);
      if (s.zxing.isEmpty()) {
        // ZXingReader 1.4 misses some symbols whose modules fall on fractions
        // of a pixel at 300 dpi: a second look at twice the resolution.
        if (finer.empty()) finer = RasterisePdf(pdf, 2 * dpi);
        if (p < finer.size()) read(finer[p].copy(QRect(box.topLeft() * 2, box.size() * 2)), "zxing", s);
      }
      found.push_back(s);
    }
  }
  return found;
}

Tmpfs::Tmpfs(const QString& options) {
  QByteArray name = QDir::temp().filePath("quillon-tmpfs-XXXXXX").toLocal8Bit();
  path_ = QString::fromLocal8Bit(mkdtemp(name.data()));
  QProcess mount;
  mount.start("mount", {"-t", "tmpfs", "-o", options, "tmpfs", path_});
  mounted_ = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
  if (!mounted_) problem_ = "cannot mount a tmpfs here: " + QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
}

Tmpfs::~Tmpfs() {
  if (mounted_) QProcess::execute("umount", {path_});
  QDir().rmdir(path_);
}

bool CupsWanted() { return !qEnvironmentVariableIsEmpty("QUILLON_TEST_CUPS"); }

QString CupsProblem() {
  return platform::PrinterNames().contains("PDF") ? QString() : "CUPS does not answer or has no queue PDF";
}

QString WaitForCupsPdf(const QString& token, int timeoutMs) {
  // cups-pdf writes into PDF/ of the submitting user's home as passwd has it.
  const passwd* user = getpwuid(getuid());
  const QString folder = QDir(QString::fromLocal8Bit(user ? user->pw_dir : "/root")).filePath("PDF");
  for (int waited = 0; waited < timeoutMs; waited += 200) {
    for (QDirIterator it(folder, {"*" + token + "*.pdf"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
      // Finished when the file ends with the PDF trailer.
      QFile file(it.next());
      if (file.open(QIODevice::ReadOnly) && file.size() > 64 && file.seek(file.size() - 64) &&
          file.readAll().contains("%%EOF"))
        return file.fileName();
    }
    QThread::msleep(200);
  }
  return {};
}

}  // namespace test_support
