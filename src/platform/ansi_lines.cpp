#include "platform/ansi_lines.h"

#include "platform/ansi.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace platform {

bool AnsiLineReader::Open(const QString& path) {
  file_.close();
  error_.clear();
  const QFileInfo info(path);
  if (info.isDir()) {
    error_ = QStringLiteral("it is a folder, not a file");
    return false;
  }
  file_.setFileName(path);
  errno = 0;
  if (!file_.open(QIODevice::ReadOnly)) {
    // The system's own words ("No such file or directory", "Permission
    // denied") say it best.
    error_ = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file_.errorString();
    return false;
  }
  return true;
}

bool AnsiLineReader::AtEnd() const { return !file_.isOpen() || file_.atEnd(); }

QString AnsiLineReader::ReadLine() {
  QByteArray bytes;
  char c = 0;
  while (file_.getChar(&c)) {
    if (c == '\r') {
      char next = 0;
      if (file_.peek(&next, 1) == 1 && next == '\n') file_.getChar(&next);
      break;
    }
    bytes.append(c);
  }
  return FromAnsi(bytes);
}

qint64 AnsiLineReader::CountLines(const QString& path) {
  AnsiLineReader reader;
  if (!reader.Open(path)) return -1;
  qint64 lines = 0;
  char buffer[65536];
  bool midLine = false;  // bytes seen since the last terminator
  bool afterCr = false;
  qint64 n = 0;
  while ((n = reader.file_.read(buffer, sizeof buffer)) > 0) {
    for (qint64 i = 0; i < n; ++i) {
      const char c = buffer[i];
      if (afterCr && c == '\n') {
        afterCr = false;
        continue;
      }
      afterCr = c == '\r';
      if (afterCr) {
        ++lines;
        midLine = false;
      } else {
        midLine = true;
      }
    }
  }
  return lines + (midLine ? 1 : 0);
}

}  // namespace platform
