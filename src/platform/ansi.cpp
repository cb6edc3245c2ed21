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
  // Find the first offending character by encoding one code point at a time.
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    QStringEncoder one(kCodePage);
    (void)one.encode(text.mid(i, len));
    if (one.hasError()) {
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
