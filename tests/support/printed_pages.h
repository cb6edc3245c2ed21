#pragma once
// Printed output read back: PDF pages rasterised with poppler, the symbols on
// them found and decoded one by one, and the files the CUPS PDF queue writes.
#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace test_support {

// Every page of a PDF in grey at dpi (pdftoppm); none when it cannot be read.
std::vector<QImage> RasterisePdf(const QString& pdf, int dpi = 300);

// The boxes of dark marks, top to bottom: bands are split by white rows, the
// marks of a band by white gaps at least minGap columns wide.
std::vector<QRect> FindMarks(const QImage& page, int minGap);

// The text of a PDF as pdftotext reads it ("" when it cannot).
QString PdfText(const QString& pdf);

// Writes bytes to path, making its folder.
bool WriteFile(const QString& path, const QByteArray& bytes);

struct ReadSymbol {
  int page = 0;
  QRect box;            // in pixels
  QString zbar, zxing;  // what each decoder read ("" for nothing)
};
// Every mark of every page decoded by zbar and ZXing, in reading order.
std::vector<ReadSymbol> ReadSymbols(const QString& pdf, const QString& symbology, int dpi = 300);

// A tmpfs mounted on a fresh folder for the life of the object (root only):
// options such as "size=64k" or "size=64k,ro". Path() is "" where it could
// not be mounted, and Problem() says why.
class Tmpfs {
 public:
  explicit Tmpfs(const QString& options);
  ~Tmpfs();
  QString Path() const { return mounted_ ? path_ : QString(); }
  QString Problem() const { return problem_; }

 private:
  QString path_, problem_;
  bool mounted_ = false;
};

bool CupsWanted();      // QUILLON_TEST_CUPS is set
QString CupsProblem();  // "" when the scheduler answers and has the queue PDF
// The PDF the CUPS queue wrote for a job whose title contains token; "" on timeout.
QString WaitForCupsPdf(const QString& token, int timeoutMs = 60000);

}  // namespace test_support
