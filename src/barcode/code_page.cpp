#include "barcode/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace barcode {

namespace {
constexpr const char* kCodePage = "windows-1252";

// ASCII is the same in the code page, and opening a converter costs far more
// than converting a short text: plain ASCII skips the converter.
bool IsAscii(QStringView text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}
}  // namespace

AnsiText ToAnsi(const QString& text) {
  if (IsAscii(text)) return {text.toLatin1(), -1};
  QStringEncoder encoder(kCodePage);
  AnsiText out;
  out.bytes = encoder.encode(text);
  if (!encoder.hasError()) return out;
  // The converter writes the substitute byte 0x1A for what it cannot map:
  // find the first character that produced one without being U+001A itself.
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    QStringEncoder one(kCodePage);
    const QByteArray b = one.encode(text.mid(i, len));
    if (one.hasError() || (b == QByteArray(1, '\x1a') && text.at(i) != QChar(0x1A))) {
      out.firstUnmappable = i;
      return out;
    }
    i += len - 1;
  }
  out.firstUnmappable = 0;
  return out;
}

QString FromAnsi(QByteArrayView bytes) {
  if (std::all_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; }))
    return QString::fromLatin1(bytes);
  QStringDecoder decoder(kCodePage);
  return decoder.decode(bytes);
}

}  // namespace barcode
