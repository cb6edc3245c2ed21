#include "platform/output_file.h"

#include "platform/interruption.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

QString OutputErrorText(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("no space left on the device");
    case EACCES:
    case EPERM:
      return QStringLiteral("permission denied");
    case EROFS:
      return QStringLiteral("the file system is read-only");
    case EFBIG:
      return QStringLiteral("the file is too large");
    case EPIPE:
      return QStringLiteral("the reader of the pipe has gone");
    default:
      return QString::fromLocal8Bit(std::strerror(error));
  }
}

// Writes through a file descriptor in 64 KiB blocks; the first failed write
// is kept and fails every later one.
class OutputFile::Writer : public QIODevice {
 public:
  Writer(int fd, bool ownsFd) : fd_(fd), ownsFd_(ownsFd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  ~Writer() override { CloseFd(); }

  int Errno() const { return errno_; }
  bool FlushBlock() {
    const char* p = block_.constData();
    qsizetype left = block_.size();
    while (left > 0 && errno_ == 0) {
      const ssize_t n = ::write(fd_, p, static_cast<size_t>(left));
      if (n < 0 && errno == EINTR && !Interrupted()) continue;  // a reader that takes nothing ends with the run
      if (n <= 0) {
        errno_ = n < 0 ? errno : EIO;
        break;
      }
      p += n;
      left -= n;
    }
    block_.clear();
    return errno_ == 0;
  }
  // Flushes, syncs (where the target can be synced) and closes.
  bool Finish() {
    if (!FlushBlock()) return false;
    int synced;
    while ((synced = fsync(fd_)) != 0 && errno == EINTR) {
    }
    if (synced != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) errno_ = errno;
    if (!CloseFd() && errno_ == 0) errno_ = errno;
    return errno_ == 0;
  }
  bool CloseFd() {
    QIODevice::close();
    if (fd_ < 0 || !ownsFd_) return fd_ = -1, true;
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0 || errno == EINTR;
  }
  int Fd() const { return fd_; }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (errno_ != 0 || fd_ < 0) return -1;
    block_.append(data, size);
    if (block_.size() >= kBlock && !FlushBlock()) return -1;
    return size;
  }

 private:
  static constexpr qsizetype kBlock = 64 * 1024;
  int fd_;
  bool ownsFd_;
  int errno_ = 0;
  QByteArray block_;
};

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }


// The descriptor that /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N
// stands for (-1 for any other path). Opening such a path anew would open
// the file behind the descriptor from its start, writing over what the
// shell's redirection or an earlier writer put there.
int NamedDescriptor(const QString& path) {
  if (path == QLatin1String("/dev/stdout")) return STDOUT_FILENO;
  if (path == QLatin1String("/dev/stderr")) return STDERR_FILENO;
  const QString own = QStringLiteral("/proc/%1/fd/").arg(getpid());
  for (const QString& prefix : {QStringLiteral("/dev/fd/"), QStringLiteral("/proc/self/fd/"), own}) {
    if (!path.startsWith(prefix)) continue;
    const QString number = path.mid(prefix.size());
    bool ok = false;
    const int fd = number.toInt(&ok);
    const bool digits =
        !number.isEmpty() && std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); });
    return ok && digits ? fd : -1;
  }
  return -1;
}

// Removes the hidden temporary files a killed run of this user left in
// folder more than an hour ago (a run still writing one touches it often).
void RemoveStaleTemporaries(const QString& folder) {
  DIR* dir = opendir(Native(folder).constData());
  if (!dir) return;
  const time_t hourAgo = std::time(nullptr) - 3600;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (!name.starts_with(".quillon-") || !name.ends_with(".part")) continue;
    struct stat st {};
    if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        st.st_uid == geteuid() && st.st_mtime < hourAgo)
      unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

mode_t CreationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Makes folder and its parents; errno tells why when it fails.
bool MakeFolder(const QString& folder) {
  QString done;
  for (const QString& part : QDir::cleanPath(QDir(folder).absolutePath()).split(QLatin1Char('/'))) {
    done += part + QLatin1Char('/');
    if (part.isEmpty()) continue;
    if (mkdir(Native(done).constData(), 0777) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  if (stat(Native(folder).constData(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) return errno = ENOTDIR, false;
  return true;
}

void SyncFolder(const QString& folder) {
  const int fd = open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool WrittenInPlace(const QString& path) {
  if (path == QLatin1String("-") || NamedDescriptor(path) >= 0) return true;
  struct stat st {};
  if (stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  return S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
}

OutputFile::OutputFile() = default;
OutputFile::~OutputFile() { Abandon(); }

bool OutputFile::Fail(const QString& why) {
  error_ = why;
  Abandon();
  return false;
}

QIODevice* OutputFile::Device() { return device_.get(); }

// The new file takes the mode, owner and group of the file it replaces
// (owner and group where the process may set them), or the usual mode.
void OutputFile::SetOwnership(int fd) const {
  if (!kept_) {
    fchmod(fd, CreationMode());
    return;
  }
  if (fchown(fd, kept_->uid, kept_->gid) != 0) fchown(fd, static_cast<uid_t>(-1), kept_->gid);
  fchmod(fd, kept_->mode);
}

bool OutputFile::OpenTemporary(const QString& folder) {
  RemoveStaleTemporaries(folder);
  // An unnamed file is linked into place through /proc; where either is
  // missing, the hidden named file serves (and reports the errors).
  if (access("/proc/self/fd", X_OK) == 0) {
    const int fd = open(Native(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, CreationMode());
    if (fd >= 0) {
      unnamedFd_ = fcntl(fd, F_DUPFD_CLOEXEC, 0);
      if (unnamedFd_ < 0) {
        const int e = errno;
        close(fd);
        return Fail(OutputErrorText(e));
      }
      SetOwnership(fd);
      device_ = std::make_unique<Writer>(fd, true);
      return true;
    }
  }
  QByteArray name = Native(QDir(folder).filePath(QStringLiteral(".quillon-XXXXXX.part")));
  const int fd = mkostemps(name.data(), 5, O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    struct stat st {};
    const bool isFolder = stat(Native(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode);
    // A folder that is there but takes no file (/proc) says ENOENT too.
    if (e == ENOENT && isFolder) return Fail(QStringLiteral("the folder %1 is not writable").arg(folder));
    if (e == ENOENT) return Fail(QStringLiteral("the folder %1 does not exist").arg(folder));
    if (e == ENOTDIR) return Fail(QStringLiteral("%1 is not a folder").arg(folder));
    return Fail(OutputErrorText(e));
  }
  SetOwnership(fd);
  temporary_ = name;
  device_ = std::make_unique<Writer>(fd, true);
  return true;
}

// Forgets the last file (abandoned if unfinished) and starts on a new target.
void OutputFile::Begin(const QString& target, bool numbered, Replace replace) {
  Abandon();
  error_.clear();
  finalPath_.clear();
  numbered_ = numbered;
  target_ = target;
  replace_ = replace;
  kept_.reset();
}

bool OutputFile::Open(const QString& path, Replace replace) {
  Begin(path, false, replace);
  if (path.isEmpty()) return Fail(QStringLiteral("no file name given"));
  const int named = path == QLatin1String("-") ? STDOUT_FILENO : NamedDescriptor(path);
  if (named >= 0) {
    // Written where the descriptor stands, as it was opened (appending, say).
    const int flags = fcntl(named, F_GETFL);
    if (flags < 0) return Fail(QStringLiteral("descriptor %1 is not open").arg(named));
    if ((flags & O_ACCMODE) == O_RDONLY)
      return Fail(QStringLiteral("descriptor %1 is not open for writing").arg(named));
    device_ = std::make_unique<Writer>(named, false);
    return true;
  }
  if (WrittenInPlace(path)) {
    const int fd = open(Native(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Fail(OutputErrorText(errno));
    device_ = std::make_unique<Writer>(fd, true);
    return true;
  }
  struct stat st {};
  if (lstat(Native(path).constData(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(QStringLiteral("%1 is a folder").arg(path));
    if (replace == Replace::Never) return Fail(QStringLiteral("%1 already exists").arg(path));
    // The mode without set-id bits: they were given to other content.
    if (S_ISREG(st.st_mode)) kept_ = Ownership{st.st_mode & 0777, st.st_uid, st.st_gid};
  }
  return OpenTemporary(QFileInfo(path).absolutePath());
}

bool OutputFile::OpenNumbered(const QString& folder, const QString& stem, const QString& suffix) {
  Begin(folder, true, Replace::Never);
  stem_ = stem;
  suffix_ = suffix;
  if (!MakeFolder(folder)) {
    const int e = errno;
    return Fail(QStringLiteral("the folder %1 cannot be made: %2").arg(folder, OutputErrorText(e)));
  }
  return OpenTemporary(folder);
}

// Gives the unnamed file the name to (0 or an errno). Linking never
// replaces; where replacing is allowed the file is linked under a hidden
// name first and renamed over the target.
int OutputFile::Link(const QByteArray& to) const {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamedFd_);
  if (linkat(AT_FDCWD, self.constData(), AT_FDCWD, to.constData(), AT_SYMLINK_FOLLOW) == 0) return 0;
  // Only a file that is there to replace takes the hidden name, for as long
  // as the rename takes (a later run removes one a kill left behind).
  if (replace_ == Replace::Never || errno != EEXIST) return errno;
  QByteArray hidden = Native(QFileInfo(QString::fromLocal8Bit(to)).absolutePath()) + "/.quillon-XXXXXX.part";
  const int fd = mkostemps(hidden.data(), 5, O_CLOEXEC);  // claims a free hidden name
  if (fd < 0) return errno;
  close(fd);
  unlink(hidden.constData());
  if (linkat(AT_FDCWD, self.constData(), AT_FDCWD, hidden.constData(), AT_SYMLINK_FOLLOW) != 0) return errno;
  if (rename(hidden.constData(), to.constData()) != 0) {
    const int e = errno;
    unlink(hidden.constData());
    return e;
  }
  return 0;
}

void OutputFile::CloseUnnamed() {
  if (unnamedFd_ >= 0) close(unnamedFd_);
  unnamedFd_ = -1;
}

bool OutputFile::Place() {
  const QByteArray from = temporary_;
  const auto placeAs = [&](const QString& path) -> int {  // 0 or an errno
    const QByteArray to = Native(path);
    if (unnamedFd_ >= 0) return Link(to);
    if (replace_ == Replace::Allowed) return rename(from.constData(), to.constData()) == 0 ? 0 : errno;
    if (renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
    // A file system without the no-replace rename: a hard link never replaces either.
    if (link(from.constData(), to.constData()) != 0) return errno;
    unlink(from.constData());
    return 0;
  };
  if (!numbered_) {
    const int e = placeAs(target_);
    if (e == EEXIST) return Fail(QStringLiteral("%1 already exists").arg(target_));
    if (e != 0) return Fail(OutputErrorText(e));
    finalPath_ = target_;
  } else {
    for (int n = 1;; ++n) {
      const QString path = QDir(target_).filePath(QStringLiteral("%1-%2%3").arg(stem_).arg(n).arg(suffix_));
      const int e = placeAs(path);
      if (e == 0) {
        finalPath_ = path;
        break;
      }
      if (e != EEXIST || n == 1000000) return Fail(OutputErrorText(e));
    }
  }
  temporary_.clear();
  CloseUnnamed();
  SyncFolder(QFileInfo(finalPath_).absolutePath());
  return true;
}

bool OutputFile::Commit() {
  if (!device_) {
    if (error_.isEmpty()) error_ = QStringLiteral("no file is open");
    return false;
  }
  if (!device_->Finish()) return Fail(OutputErrorText(device_->Errno()));
  device_.reset();
  if (temporary_.isEmpty() && unnamedFd_ < 0) {
    finalPath_ = target_;
    return true;
  }
  return Place();
}

void OutputFile::Abandon() {
  device_.reset();
  if (!temporary_.isEmpty()) unlink(temporary_.constData());
  temporary_.clear();
  CloseUnnamed();  // an unnamed file goes with its last descriptor
}

}  // namespace platform
