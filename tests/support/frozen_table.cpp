#include "support/frozen_table.h"

#include "platform/dialogs.h"
#include "platform/numbers.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace test_support {

namespace {
// The inverse of platform::EscapeControls for the escapes the table holds.
QString Unescaped(const QString& shown) {
  QString text;
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown.at(i) != QLatin1Char('\\') || i + 1 >= shown.size()) {
      text += shown.at(i);
      continue;
    }
    const QChar next = shown.at(++i);
    if (next == QLatin1Char('t')) text += QLatin1Char('\t');
    else if (next == QLatin1Char('n')) text += QLatin1Char('\n');
    else if (next == QLatin1Char('r')) text += QLatin1Char('\r');
    else if (next == QLatin1Char('x')) text += QChar(shown.mid(i + 1, 2).toUShort(nullptr, 16)), i += 2;
    else text += QLatin1Char('\\') + next;
  }
  return text;
}
}  // namespace

QString FrozenRow::Key() const {
  return QStringList{symbology, platform::EscapeControls(text), line, height, font, width}.join(QLatin1Char('\t'));
}

layout::Options OptionsOf(const FrozenRow& row) {
  layout::Options o;
  // What is not a number falls back to the initial values; sizes are kept
  // to what a picture can have.
  o.barHeight = std::clamp(platform::ParseNumber(row.height).value_or(1.4), 0.1, 25.0);
  o.fontSize = std::clamp(platform::ParseNumber(row.font).value_or(8.0), 1.0, 144.0);
  const auto caption = platform::ParseNumber(row.font);
  o.captionFontSize = caption ? static_cast<int>(platform::RoundHalfEven(std::clamp(*caption, -1.0, 144.0))) : 8;
  o.textLine = row.line == QLatin1String("1");
  o.stretchWidth = platform::ParseNumber(row.width);
  return o;
}

QString FrozenTablePath() { return QStringLiteral(QUILLON_SOURCE_DIR "/tests/jobs/frozen_pictures.txt"); }

std::vector<FrozenRow> ReadFrozenTable() {
  std::vector<FrozenRow> rows;
  QFile file(FrozenTablePath());
  if (!file.open(QIODevice::ReadOnly)) return rows;
  QTextStream in(&file);
  for (QString row; in.readLineInto(&row);) {
    const QStringList p = row.split(QLatin1Char('\t'));
    if (p.size() < 8) continue;
    rows.push_back({p[0], Unescaped(p[1]), p[2], p[3], p[4], p[5], QStringList(p.mid(6)).join(QLatin1Char('\t'))});
  }
  return rows;
}

QString Digest(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (int y = 0; y < rgb.height(); ++y) {
    QByteArray row(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 4);
    for (qsizetype i = 3; i < row.size(); i += 4) row[i] = char(0xff);
    hash.addData(row);
  }
  return QStringLiteral("%1x%2\t%3").arg(rgb.width()).arg(rgb.height()).arg(QString::fromLatin1(hash.result().toHex().left(20)));
}

QString RefusalDigest(const QString& message, const QString& boxText) {
  return QStringLiteral("refused\t%1\t%2").arg(platform::EscapeControls(message), platform::EscapeControls(boxText));
}

}  // namespace test_support
