#pragma once
// What the printing tests share: one row per symbology, the CUPS guard and
// the printable area.
#include "support/decode.h"
#include "support/printed_pages.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QRegularExpression>

namespace printing_test {

using test_support::DarkBox;
using test_support::WithCheckDigit;

struct SymbologyCase {
  const char* name;
  QRadioButton* window::MainWindow::*option;
  const char* decodeAs;               // DECODE_SYM of decode.sh
  QString (*value)(int k);            // the k-th value written into the file
  QString (*read)(const QString& v);  // what a decoder reads from it
};

inline QString Same(const QString& v) { return v; }
inline QString Code39Value(int k) { return QStringList{"q%1-x", "A B.%1", "$%1/+"}[k % 3].arg(k); }
inline QString Code128Value(int k) { return QStringList{"Ab %1~", "x\\%1\"q", "[%1]{!}"}[k % 3].arg(k); }
inline const SymbologyCase kSymbologies[] = {
    {"code39", &window::MainWindow::code39Choice, "code39", Code39Value, [](const QString& v) { return v.toUpper(); }},
    {"code128b", &window::MainWindow::code128BChoice, "code128", Code128Value, Same},
    {"code128-1", &window::MainWindow::code128PatternChoice, "code128", Code128Value, Same},
    {"code25", &window::MainWindow::interleaved25Choice, "i25", [](int k) { return QString::number(10000000 + 7919 * k); }, Same},
    {"upc", &window::MainWindow::upcAChoice, "upca",
     [](int k) { return QString("0360002%1").arg(k * 37, 4, 10, QChar('0')); }, WithCheckDigit},
    {"ean", &window::MainWindow::eanChoice, "ean13",
     [](int k) { return QString::number(k % 10) + QString("901234%1").arg(k * 41, 5, 10, QChar('0')); },
     WithCheckDigit},
};

// Where test.sh started CUPS (it sets QUILLON_TEST_CUPS) a CUPS that does not answer fails.
#define REQUIRE_CUPS()                                                                             \
  do {                                                                                             \
    if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here"; \
    ASSERT_EQ(test_support::CupsProblem(), QString());                                             \
  } while (0)

// The printable area of a printer's page in millimetres: "Save as PDF" is A4
// less 6.35 mm all round; a CUPS queue's is what its driver (the PPD that
// CUPS keeps for it) gives as the default page's imageable area.
inline QRectF PrintableArea(const QString& printer) {
  if (printer == platform::kSaveAsPdf) return QRectF(6.35, 6.35, 210 - 12.7, 297 - 12.7);
  QFile ppd("/etc/cups/ppd/" + printer + ".ppd");
  const QString text = ppd.open(QIODevice::ReadOnly) ? QString::fromLatin1(ppd.readAll()) : QString();
  const QString page = QRegularExpression("\\*DefaultImageableArea: (\\S+)").match(text).captured(1);
  const auto points = [&](const char* key) {  // the numbers of that page's entry, in points
    const auto m = QRegularExpression(QString("\\*%1 %2[/:][^\"]*\"([^\"]+)\"").arg(key, QRegularExpression::escape(page))).match(text);
    QList<double> numbers;
    for (const QString& n : m.captured(1).split(' ', Qt::SkipEmptyParts)) numbers << n.toDouble() * 25.4 / 72;
    return numbers;
  };
  const QList<double> box = points("ImageableArea"), paper = points("PaperDimension");  // llx lly urx ury; w h
  if (box.size() != 4 || paper.size() != 2) return {};
  return QRectF(box[0], paper[1] - box[3], box[2] - box[0], box[3] - box[1]);
}

inline double MmToPx(double mm, int dpi = 300) { return mm / 25.4 * dpi; }

// A window on Code 39 printing through "Save as PDF".
class PrintingTest : public test_support::WindowTest {
 protected:
  void SetUp() override {
    window().code39Choice->setChecked(true);
    window().printerBox->setEditText(platform::kSaveAsPdf);
  }
  qsizetype PdfCount() const { return QDir(pdfDir.path()).entryList({"*.pdf"}, QDir::Files).size(); }
};

}  // namespace printing_test
