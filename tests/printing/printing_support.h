#pragma once
// What the printing tests share: the symbologies they print (one row per
// symbology), the CUPS guard, and the first dark pixel of a picture.
#include "main_window/form1.h"
#include "support/printed_pages.h"

#include <QImage>
#include <QPoint>

#include <gtest/gtest.h>

#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace printing_test {

struct SymbologyCase {
  const char* name;
  QRadioButton* main_window::Form1::*option;
  const char* decodeAs;  // DECODE_SYM of decode.sh
  const char* decoders;
  // The k-th sample: the value written into the file and what a decoder reads.
  QString (*value)(int k);
  QString (*read)(int k);
};

inline QString Code39Value(int k) {
  static const char* const forms[] = {"q%1-x", "A B.%1", "$%1/+"};
  return QString::fromLatin1(forms[k % 3]).arg(k);
}
inline QString Code39Read(int k) { return Code39Value(k).toUpper(); }

// Add a row as each symbology becomes drawable.
inline const SymbologyCase kSymbologies[] = {
    {"code39", &main_window::Form1::Option2, "code39", "zbar zxing", Code39Value, Code39Read},
};

// Tests that print through CUPS run where test.sh started it (it sets
// QUILLON_TEST_CUPS); there, a CUPS that does not answer is a failure.
#define REQUIRE_CUPS()                                                                                  \
  do {                                                                                                  \
    if (!test_support::CupsWanted()) GTEST_SKIP() << "QUILLON_TEST_CUPS is not set: no CUPS here";      \
    const QString cupsProblem = test_support::CupsProblem();                                            \
    ASSERT_TRUE(cupsProblem.isEmpty()) << "QUILLON_TEST_CUPS is set but " << cupsProblem.toStdString(); \
  } while (0)

// The leftmost column and the topmost row that hold a dark pixel.
inline QPoint FirstDark(const QImage& picture) {
  QPoint first(picture.width(), picture.height());
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (qGray(picture.pixel(x, y)) < 128) first = QPoint(std::min(first.x(), x), std::min(first.y(), y));
  return first;
}

// The rightmost column and the bottom row that hold a dark pixel.
inline QPoint LastDark(const QImage& picture) {
  QPoint last(-1, -1);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (qGray(picture.pixel(x, y)) < 128) last = QPoint(std::max(last.x(), x), std::max(last.y(), y));
  return last;
}

inline double MmToPx(double mm, int dpi) { return mm / 25.4 * dpi; }

}  // namespace printing_test
