#include "support/printed_pages.h"

#include "support/decode.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>

namespace test_support {

namespace {

QString Run(const QString& program, const QStringList& args, int* exitCode = nullptr) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  p.waitForFinished(120000);
  if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return QString::fromUtf8(p.readAll());
}

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

}  // namespace

std::vector<QImage> RasterisePdf(const QString& pdf, int dpi) {
  QTemporaryDir dir;
  int rc = -1;
  Run(QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-png"), pdf,
       dir.filePath(QStringLiteral("page"))},
      &rc);
  std::vector<QImage> pages;
  if (rc != 0) return pages;
  QStringList files = QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
  // pdftoppm pads the page numbers to the same width, so names sort in order.
  for (const QString& f : files) {
    QImageReader reader(dir.filePath(f));
    reader.setAllocationLimit(1024);  // megabytes: a page at 600 dpi passes Qt's default limit
    pages.push_back(reader.read().convertToFormat(QImage::Format_Grayscale8));
  }
  return pages;
}

int PdfPageCount(const QString& pdf) {
  const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
  for (const QString& line : info.split(QLatin1Char('\n')))
    if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

std::vector<QRect> FindMarks(const QImage& page, int minGap) {
  std::vector<QRect> marks;
  const int w = page.width();
  const int h = page.height();
  std::vector<bool> rowDark(h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w && !rowDark[y]; ++x) rowDark[y] = Dark(page, x, y);
  for (int top = 0; top < h;) {
    if (!rowDark[top]) {
      ++top;
      continue;
    }
    int bottom = top;
    while (bottom + 1 < h && rowDark[bottom + 1]) ++bottom;
    std::vector<bool> colDark(w, false);
    for (int x = 0; x < w; ++x)
      for (int y = top; y <= bottom && !colDark[x]; ++y) colDark[x] = Dark(page, x, y);
    int x = 0;
    while (x < w) {
      if (!colDark[x]) {
        ++x;
        continue;
      }
      const int left = x;
      int right = x;
      int gap = 0;
      for (int i = x; i < w; ++i) {
        if (colDark[i]) {
          right = i;
          gap = 0;
        } else if (++gap >= minGap) {
          break;
        }
      }
      marks.emplace_back(QPoint(left, top), QPoint(right, bottom));
      x = right + 1;
    }
    top = bottom + 1;
  }
  return marks;
}

std::vector<ReadSymbol> ReadSymbols(const QString& pdf, const QString& symbology, int dpi, const QString& decoders) {
  std::vector<ReadSymbol> found;
  const std::vector<QImage> pages = RasterisePdf(pdf, dpi);
  std::vector<QImage> finer;  // the pages at twice the resolution, made when needed
  const auto readMark = [&](const QImage& page, const QRect& box, const QString& which, ReadSymbol& s) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("mark.png"));
    Enlarge(page.copy(box), 1, 40).save(png, "PNG");
    // For a look at what the decoders were given.
    const QString keep = qEnvironmentVariable("QUILLON_KEEP_MARKS");
    if (!keep.isEmpty())
      QFile::copy(png,
                  QDir(keep).filePath(QStringLiteral("mark-%1-%2-%3.png").arg(s.page).arg(found.size()).arg(which)));
    const Decoded d = DecodeFile(png, symbology, {}, which);
    for (const QString& line : d.output.split(QLatin1Char('\n'))) {
      const QStringList f = line.split(QLatin1Char('\t'));
      if (f.size() != 3) continue;
      if (f[0] == QLatin1String("zbar")) s.zbar = f[2];
      if (f[0] == QLatin1String("zxing")) s.zxing = f[2];
    }
  };
  for (size_t p = 0; p < pages.size(); ++p) {
    // A quarter inch of white separates neighbouring symbols; bars and the
    // gaps inside a symbol are far narrower.
    for (const QRect& box : FindMarks(pages[p], dpi / 5)) {
      ReadSymbol s;
      s.page = static_cast<int>(p) + 1;
      s.box = box;
      readMark(pages[p], box, decoders, s);
      if (s.zxing.isEmpty() && decoders.contains(QLatin1String("zxing"))) {
        // ZXingReader 1.4 misses some Code 39 symbols whose modules fall on
        // 3.125 pixels at 300 dpi, depending on the phase of the edges;
        // zbar reads them. It gets a second look at twice the resolution.
        if (finer.empty()) finer = RasterisePdf(pdf, 2 * dpi);
        if (p < finer.size()) {
          readMark(finer[p], QRect(box.topLeft() * 2, box.size() * 2), QStringLiteral("zxing"), s);
          if (!s.zxing.isEmpty()) s.zxingDpi = 2 * dpi;
        }
      }
      found.push_back(s);
    }
  }
  return found;
}

bool CupsWanted() { return !qEnvironmentVariableIsEmpty("QUILLON_TEST_CUPS"); }

QString CupsProblem() {
  const QString status = Run(QStringLiteral("lpstat"), {QStringLiteral("-r")});
  if (!status.contains(QLatin1String("is running"))) return QStringLiteral("the CUPS scheduler is not running");
  if (!QPrinterInfo::availablePrinterNames().contains(QStringLiteral("PDF")))
    return QStringLiteral("CUPS has no queue named PDF");
  return {};
}

QString WaitForCupsPdf(const QString& token, int timeoutMs) {
  // cups-pdf writes into PDF/ of the submitting user's home as passwd has it.
  const passwd* user = getpwuid(getuid());
  const QStringList folders{QDir(QString::fromLocal8Bit(user ? user->pw_dir : "/root")).filePath(QStringLiteral("PDF")),
                            QStringLiteral("/var/spool/cups-pdf")};
  QString candidate;
  qint64 lastSize = -1;
  for (int waited = 0; waited < timeoutMs; waited += 200) {
    for (const QString& folder : folders) {
      QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
      while (it.hasNext()) {
        const QString f = it.next();
        if (QFileInfo(f).fileName().contains(token)) candidate = f;
      }
    }
    if (!candidate.isEmpty()) {
      QFile file(candidate);
      const qint64 size = QFileInfo(candidate).size();
      if (size > 0 && size == lastSize && file.open(QIODevice::ReadOnly)) {
        file.seek(std::max<qint64>(0, size - 64));
        if (file.readAll().contains("%%EOF")) return candidate;
      }
      lastSize = size;
    }
    QThread::msleep(200);
  }
  return {};
}

}  // namespace test_support
