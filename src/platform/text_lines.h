#pragma once
// Reads a text file line by line, as Linux users write them and as Windows
// wrote them.
//
// - CR LF, a lone CR and a lone LF each end a line. The last line needs no
//   line end; a file that ends with one has no empty line after it.
// - A regular file that is valid UTF-8 is read as UTF-8 (a leading byte-order
//   mark is not part of the first line); any other file as Windows-1252. One
//   pass before reading decides this and counts the lines.
// - `-` is standard input. Standard input, a pipe, a FIFO or a character
//   device is a stream: it is read once, so its lines are not counted
//   beforehand. A stream is read as UTF-8 until a byte sequence that is not
//   UTF-8 turns up; that line and every later one are read as Windows-1252.
//   Opening a FIFO that has no writer waits for one, as `cat` does.
// - A wait for a FIFO's writer or for a stream's next bytes ends within
//   100 ms when the run is interrupted (platform/interruption.h):
//   Interrupted() then says so.
// - Memory stays bounded whatever the file holds: of a line longer than
//   kMaxLineCharacters only the first kMaxLineCharacters are kept; the rest
//   is counted and skipped.
#include <QByteArray>
#include <QString>

namespace platform {

// Incremental check that bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
class Utf8Check {
 public:
  void Feed(unsigned char b);
  bool Valid() const { return ok_; }               // so far
  bool Complete() const { return ok_ && need_ == 0; }  // and no character is cut off

 private:
  int need_ = 0;
  unsigned char lo_ = 0x80, hi_ = 0xBF;
  bool ok_ = true;
};

struct TextLine {
  QString text;             // the whole line, or its first kMaxLineCharacters
  qint64 length = 0;        // characters in the whole line
  bool tooLong = false;     // length > kMaxLineCharacters; text is cut
};

class TextLineReader {
 public:
  // More than the longest value any symbology takes (2,975 characters of
  // Code 128 B), with room for a pattern and blanks around it.
  static constexpr qint64 kMaxLineCharacters = 4096;

  TextLineReader() = default;
  ~TextLineReader() { Close(); }
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // False when the path cannot be opened for reading; Error() says why.
  bool Open(const QString& path);
  // Why the last Open or Next failed ("" when neither did).
  QString Error() const { return error_; }
  // The last Open or Next gave up because the run was asked to end.
  bool Interrupted() const { return interrupted_; }
  bool IsStream() const { return stream_; }
  // Lines in a regular file; -1 for a stream.
  qint64 LineCount() const { return lineCount_; }
  bool Utf8() const { return utf8_; }
  // The next line; false at the end of the input or on a read error (then
  // Error() is not empty).
  bool Next(TextLine& line);
  void Close();

 private:
  int Fill();  // bytes read into buffer_, 0 at the end, -1 on an error
  bool Failed(int error);
  bool Prepass();

  int fd_ = -1;
  bool ownFd_ = false;
  bool stream_ = false;
  bool utf8_ = true;
  qint64 lineCount_ = -1;
  QString error_;
  bool interrupted_ = false;
  QByteArray buffer_;
  qsizetype pos_ = 0;
  qsizetype end_ = 0;
  bool atStart_ = true;  // no byte taken yet: a byte-order mark may come
  bool afterCr_ = false; // the last line ended at CR: an LF next belongs to it
  Utf8Check streamCheck_;
};


}  // namespace platform
