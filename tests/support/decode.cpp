#include "support/decode.h"
#include "support/published_tables.h"

#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace test_support {

QString WithCheckDigit(const QString& digits) {
  return digits + QLatin1Char(published::CheckDigit(digits.toStdString()));
}

QRect DarkBox(const QImage& image, int threshold) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < threshold) box |= QRect(x, y, 1, 1);
  return box;
}

QImage Enlarge(const QImage& image, int scale, int margin) {
  QImage padded(image.width() + 2 * margin, image.height() + 2 * margin, QImage::Format_RGB32);
  padded.fill(Qt::white);
  QPainter(&padded).drawImage(margin, margin, image);
  return padded.scaled(padded.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

Decoded DecodeFile(const QString& path, const QString& symbology, const QString& expected,
                   const QString& decoders, int pdfDpi) {
  QProcess decode;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DECODERS"), decoders);
  env.insert(QStringLiteral("DECODE_DPI"), QString::number(pdfDpi));
  symbology.isEmpty() ? env.remove(QStringLiteral("DECODE_SYM")) : env.insert(QStringLiteral("DECODE_SYM"), symbology);
  decode.setProcessEnvironment(env);
  decode.setProcessChannelMode(QProcess::MergedChannels);
  QStringList args{QStringLiteral(QUILLON_DECODE_SH), path};
  if (!expected.isNull()) args << expected;
  decode.start(QStringLiteral("bash"), args);
  if (!decode.waitForFinished(120000)) return {-1, QStringLiteral("decode.sh did not finish: ") + decode.errorString()};
  return {decode.exitStatus() == QProcess::NormalExit ? decode.exitCode() : -1, QString::fromUtf8(decode.readAll())};
}

Decoded Decode(const QImage& image, const QString& symbology, const QString& expected, int scale,
               const QString& decoders, int margin) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("symbol.png"));
  if (!Enlarge(image, scale, margin).save(path, "PNG")) return {-1, QStringLiteral("cannot write ") + path};
  return DecodeFile(path, symbology, expected, decoders);
}

}  // namespace test_support
