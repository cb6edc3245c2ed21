#pragma once
// Reads a plain text file in the ANSI code page (Windows-1252) line by line.
// A line ends at CR LF or at a lone CR; a lone LF is part of the line. The
// last line needs no terminator, and a file that ends with a terminator has
// no empty line after it.
#include <QFile>
#include <QString>

namespace platform {

class AnsiLineReader {
 public:
  // False when the file cannot be opened for reading; Error() says why.
  bool Open(const QString& path);
  QString Error() const { return error_; }
  bool AtEnd() const;
  QString ReadLine();
  void Close() { file_.close(); }

  // The number of lines the file holds, or -1 when it cannot be read.
  static qint64 CountLines(const QString& path);

 private:
  QFile file_;
  QString error_;
};

}  // namespace platform
