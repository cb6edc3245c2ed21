#pragma once
// Conversion between Qt text and the Windows-1252 ("ANSI") code page that the
// encoders and the text files work in.
#include <QByteArray>
#include <QString>

namespace barcode {

struct AnsiText {
  QByteArray bytes;
  // Index (in QString units) of the first character the code page cannot hold,
  // or -1. Such characters are never silently turned into '?'.
  qsizetype firstUnmappable = -1;
  bool ok() const { return firstUnmappable < 0; }
};

AnsiText ToAnsi(const QString& text);
QString FromAnsi(QByteArrayView bytes);

}  // namespace barcode
