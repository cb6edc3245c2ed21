#include "platform/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

namespace {
constexpr const char* kCodePage = "windows-1252";
}

AnsiText ToAnsi(const QString& text) {
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
  QStringDecoder decoder(kCodePage);
  return decoder.decode(bytes);
}

}  // namespace platform
