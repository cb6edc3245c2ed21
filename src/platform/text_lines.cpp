#include "platform/text_lines.h"

#include "barcode/code_page.h"
#include "platform/interruption.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr qsizetype kBufferBytes = 64 * 1024;

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A call cut short by a signal is tried again, unless the run was asked to end.
bool Again(int result) { return result < 0 && errno == EINTR && !Interrupted(); }

// Waits until a stream has bytes or its end to give, looking every 100 ms
// whether the run was asked to end (then false, errno EINTR). A FIFO whose
// writer has not come yet has neither: the wait is the wait for a writer.
bool WaitReadable(int fd) {
  for (;;) {
    if (Interrupted()) return errno = EINTR, false;
    pollfd wanted{fd, POLLIN, 0};
    const int n = ::poll(&wanted, 1, 100);
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool IsBom(const char* p) {
  return static_cast<unsigned char>(p[0]) == 0xEF && static_cast<unsigned char>(p[1]) == 0xBB &&
         static_cast<unsigned char>(p[2]) == 0xBF;
}

}  // namespace

void Utf8Check::Feed(unsigned char b) {
  if (!ok_) return;
  if (need_ == 0) {
    if (b < 0x80) return;
    if (b >= 0xC2 && b <= 0xDF) {
      need_ = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need_ = 2;
      if (b == 0xE0) lo_ = 0xA0;  // no overlong forms
      if (b == 0xED) hi_ = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need_ = 3;
      if (b == 0xF0) lo_ = 0x90;
      if (b == 0xF4) hi_ = 0x8F;  // nothing above U+10FFFF
    } else {
      ok_ = false;
    }
    return;
  }
  if (b < lo_ || b > hi_) {
    ok_ = false;
    return;
  }
  lo_ = 0x80;
  hi_ = 0xBF;
  --need_;
}

bool TextLineReader::Failed(int error) {
  interrupted_ = error == EINTR;
  error_ = interrupted_ ? QStringLiteral("interrupted") : SystemError(error);
  return false;
}

bool TextLineReader::Open(const QString& path) {
  Close();
  error_.clear();
  interrupted_ = false;
  stream_ = false;
  utf8_ = true;
  lineCount_ = -1;
  pos_ = end_ = 0;
  atStart_ = true;
  afterCr_ = false;
  streamCheck_ = Utf8Check();
  if (path == QLatin1String("-")) {
    fd_ = STDIN_FILENO;
    ownFd_ = false;
  } else {
    // A FIFO is opened without waiting for a writer; the first read waits
    // for one instead, as `cat` does, where a signal can end the wait.
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    const bool fifo = ::stat(name.constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    do fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC | (fifo ? O_NONBLOCK : 0));
    while (Again(fd_));
    if (fd_ < 0) return Failed(errno);
    if (fifo) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    ownFd_ = true;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    error_ = SystemError(errno);
    Close();
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error_ = QStringLiteral("it is a folder, not a file");
    Close();
    return false;
  }
  buffer_.resize(kBufferBytes);
  stream_ = !S_ISREG(st.st_mode);
  if (!stream_ && !Prepass()) {
    Close();
    return false;
  }
  return true;
}

void TextLineReader::Close() {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ownFd_ = false;
}

// One streaming pass over a regular file from where it stands: is it all
// UTF-8, and how many lines does it hold? Then back to the same place.
bool TextLineReader::Prepass() {
  const off_t start = ::lseek(fd_, 0, SEEK_CUR);
  if (start < 0) {
    error_ = SystemError(errno);
    return false;
  }
  Utf8Check check;
  qint64 lines = 0, bytes = 0;
  bool midLine = false, afterCr = false, bom = false;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data(), static_cast<size_t>(buffer_.size()));
    if (Again(static_cast<int>(n))) continue;
    if (n < 0) return Failed(errno);
    if (n == 0) break;
    if (bytes == 0 && n >= 3) bom = IsBom(buffer_.constData());
    bytes += n;
    for (ssize_t i = 0; i < n; ++i) {
      const auto b = static_cast<unsigned char>(buffer_.at(static_cast<qsizetype>(i)));
      check.Feed(b);
      if (afterCr && b == '\n') {
        afterCr = false;
        continue;
      }
      afterCr = b == '\r';
      if (b == '\r' || b == '\n') {
        ++lines;
        midLine = false;
      } else {
        midLine = true;
      }
    }
  }
  utf8_ = check.Complete();
  // A file of a byte-order mark alone holds no line.
  lineCount_ = utf8_ && bom && bytes == 3 ? 0 : lines + (midLine ? 1 : 0);
  if (::lseek(fd_, start, SEEK_SET) < 0) {
    error_ = SystemError(errno);
    return false;
  }
  return true;
}

int TextLineReader::Fill() {
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.constData() + pos_, static_cast<size_t>(end_ - pos_));
    end_ -= pos_;
    pos_ = 0;
  }
  for (;;) {
    if (stream_ && !WaitReadable(fd_)) {
      Failed(errno);
      return -1;
    }
    const ssize_t n = ::read(fd_, buffer_.data() + end_, static_cast<size_t>(buffer_.size() - end_));
    if (Again(static_cast<int>(n))) continue;
    if (n < 0) {
      Failed(errno);
      return -1;
    }
    end_ += n;
    return static_cast<int>(n);
  }
}

bool TextLineReader::Next(TextLine& line) {
  line = TextLine();
  if (fd_ < 0) return false;
  if (atStart_) {
    atStart_ = false;
    int n = 1;
    while (end_ - pos_ < 3 && (n = Fill()) > 0) {
    }
    if (n < 0) return false;
    if (utf8_ && end_ - pos_ >= 3 && IsBom(buffer_.constData() + pos_)) pos_ += 3;
  }
  QByteArray head;
  qint64 chars = 0;
  bool ended = false, any = false;
  while (!ended) {
    if (pos_ == end_) {
      const int n = Fill();
      if (n < 0) return false;
      if (n == 0) break;
    }
    const auto b = static_cast<unsigned char>(buffer_.at(pos_++));
    if (afterCr_) {
      afterCr_ = false;
      if (b == '\n') continue;
    }
    if (stream_ && utf8_) {
      streamCheck_.Feed(b);
      if (!streamCheck_.Valid()) utf8_ = false;  // this line and the rest are Windows-1252
    }
    if (b == '\r' || b == '\n') {
      afterCr_ = b == '\r';
      ended = true;
      break;
    }
    any = true;
    if (!(utf8_ && (b & 0xC0) == 0x80)) ++chars;  // a continuation byte is no character of its own
    if (chars <= kMaxLineCharacters) head.append(static_cast<char>(b));
  }
  if (!ended && !any) return false;
  if (!ended && stream_ && utf8_ && !streamCheck_.Complete()) utf8_ = false;  // cut off at the end
  line.text = utf8_ ? QString::fromUtf8(head) : barcode::FromAnsi(head);
  line.length = chars;
  line.tooLong = chars > kMaxLineCharacters;
  return true;
}

}  // namespace platform
