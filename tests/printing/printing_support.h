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
  // ZXing reads every printed symbol in a 300 dpi scan. UPC-A, one pixel (the
  // smallest standard module, 0.26 mm) per module, it reads only at 600 dpi.
  bool zxingAt300 = true;
};

inline QString Code39Value(int k) {
  static const char* const forms[] = {"q%1-x", "A B.%1", "$%1/+"};
  return QString::fromLatin1(forms[k % 3]).arg(k);
}
inline QString Code39Read(int k) { return Code39Value(k).toUpper(); }

inline QString Code128Value(int k) {
  static const char* const forms[] = {"Ab %1~", "x\\%1\"q", "[%1]{!}"};
  return QString::fromLatin1(forms[k % 3]).arg(k);
}
inline QString Same(int k) { return Code128Value(k); }
inline QString DigitsValue(int k) { return QString::number(10000000 + 7919 * k); }
inline QString SameDigits(int k) { return DigitsValue(k); }
// The published UPC/EAN check digit: weights 3 and 1 from the right.
inline QString WithCheckDigit(const QString& digits) {
  int sum = 0;
  for (qsizetype i = 0; i < digits.size(); ++i)
    sum += (digits.at(digits.size() - 1 - i).unicode() - u'0') * (i % 2 == 0 ? 3 : 1);
  return digits + QString::number((10 - sum % 10) % 10);
}
inline QString UpcValue(int k) { return QStringLiteral("0360002%1").arg(k * 37, 4, 10, QLatin1Char('0')); }
inline QString UpcRead(int k) { return WithCheckDigit(UpcValue(k)); }
inline QString EanValue(int k) {
  return QString::number(k % 10) + QStringLiteral("901234") + QStringLiteral("%1").arg(k * 41, 5, 10, QLatin1Char('0'));
}
inline QString EanRead(int k) { return WithCheckDigit(EanValue(k)); }

inline const SymbologyCase kSymbologies[] = {
    {"code39", &main_window::Form1::Option2, "code39", "zbar zxing", Code39Value, Code39Read},
    {"code128b", &main_window::Form1::Option1, "code128", "zbar zxing", Code128Value, Same},
    {"code128-1", &main_window::Form1::Option4, "code128", "zbar zxing", Code128Value, Same},
    {"code25", &main_window::Form1::Option5, "i25", "zbar zxing", DigitsValue, SameDigits},
    {"upc", &main_window::Form1::Option8, "upca", "zbar zxing", UpcValue, UpcRead, false},
    {"ean", &main_window::Form1::Option9, "ean13", "zbar zxing", EanValue, EanRead},
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
