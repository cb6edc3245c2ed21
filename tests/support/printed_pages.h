#pragma once
// Reading printed output back: PDF pages rasterised with poppler, the symbols
// on them found by their white surroundings and decoded one by one, and the
// files the CUPS PDF queue writes.
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace test_support {

// Every page of a PDF in grey at dpi (pdftoppm); empty when it cannot be read.
std::vector<QImage> RasterisePdf(const QString& pdf, int dpi = 300);
int PdfPageCount(const QString& pdf);

// The boxes of dark marks on a page, top to bottom, then left to right within
// a band: bands are separated by white rows, marks within a band by white
// columns at least minGap pixels wide.
std::vector<QRect> FindMarks(const QImage& page, int minGap);

struct ReadSymbol {
  int page = 0;
  QRect box;     // on the page, in pixels
  QString zbar;  // what each decoder read ("" for nothing)
  QString zxing;
  int zxingDpi = 0;  // set when ZXing read the symbol only at twice the resolution
};
// Every mark of every page cropped (with a white margin) and decoded by both
// decoders, in reading order; ZXing gets a second look at twice the
// resolution at a symbol it cannot read.
std::vector<ReadSymbol> ReadSymbols(const QString& pdf, const QString& symbology, int dpi = 300,
                                    const QString& decoders = QStringLiteral("zbar zxing"));

// CUPS: whether the tests are meant to print through a CUPS server.
bool CupsWanted();
// Empty when the scheduler answers and has the PDF queue, else why not.
QString CupsProblem();
// Waits for the PDF that the CUPS PDF queue writes for a job whose title
// contains token; "" after timeoutMs.
QString WaitForCupsPdf(const QString& token, int timeoutMs = 60000);

}  // namespace test_support
