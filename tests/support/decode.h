#pragma once
// The referee: the independent decoders zbarimg and ZXingReader (through
// shared/tools/decode.sh) reading a drawn picture.
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

namespace test_support {

struct Decoded {
  int exitCode = -1;    // 0: every decoder read a symbol (equal to the expected text, if given)
  QString output;       // DECODER<TAB>SYMBOLOGY<TAB>TEXT lines, then decode.sh's complaints
};

// Puts a white margin (20 pixels) around image, enlarges it `scale` times
// without smoothing (as a print at a higher resolution would be), and decodes.
// symbology: code39, code128, i25, upca, ean13, ean8 or "" for any.
// decoders: "zbar zxing" or one of them.
Decoded Decode(const QImage& image, const QString& symbology, const QString& expected = {},
               int scale = 3, const QString& decoders = QStringLiteral("zbar zxing"), int margin = 20);

// Decodes a file as it is (a PNG or the first page of a PDF).
Decoded DecodeFile(const QString& path, const QString& symbology, const QString& expected = {},
                   const QString& decoders = QStringLiteral("zbar zxing"), int pdfDpi = 300);

// White margin and enlargement as above.
QImage Enlarge(const QImage& image, int scale, int margin = 20);

// digits and the published UPC/EAN check digit (weights 3 and 1 from the right).
QString WithCheckDigit(const QString& digits);

// The box around the pixels darker than threshold (grey level).
QRect DarkBox(const QImage& image, int threshold = 128);

}  // namespace test_support
