#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

namespace {

// A mount point in /proc/self/mountinfo writes blanks, tabs, newlines and
// backslashes as octal escapes.
QString Unescape(const QByteArray& field) {
  QByteArray out;
  for (qsizetype i = 0; i < field.size(); ++i) {
    bool octal = false;
    const int code = i + 3 < field.size() && field[i] == '\\' ? field.mid(i + 1, 3).toInt(&octal, 8) : 0;
    if (octal && code > 0 && code < 256) {
      out += static_cast<char>(code);
      i += 3;
    } else {
      out += field[i];
    }
  }
  return QString::fromLocal8Bit(out);
}

bool UnderAny(const QString& path, std::initializer_list<const char*> roots) {
  for (const char* root : roots) {
    const QString r = QString::fromLatin1(root);
    if (path == r || path.startsWith(r + QLatin1Char('/'))) return true;
  }
  return false;
}

// File systems that hold the user's files.
bool IsStorage(const QString& type) {
  static const QStringList kTypes = {
      QStringLiteral("ext2"),  QStringLiteral("ext3"),  QStringLiteral("ext4"),     QStringLiteral("xfs"),
      QStringLiteral("btrfs"), QStringLiteral("zfs"),   QStringLiteral("f2fs"),     QStringLiteral("jfs"),
      QStringLiteral("vfat"),  QStringLiteral("msdos"), QStringLiteral("exfat"),    QStringLiteral("ntfs"),
      QStringLiteral("ntfs3"), QStringLiteral("fuseblk"), QStringLiteral("hfsplus"), QStringLiteral("iso9660"),
      QStringLiteral("udf"),   QStringLiteral("nfs"),   QStringLiteral("nfs4"),     QStringLiteral("cifs"),
      QStringLiteral("smb3"),  QStringLiteral("9p"),    QStringLiteral("virtiofs"), QStringLiteral("overlay"),
      QStringLiteral("tmpfs"), QStringLiteral("ramfs"), QStringLiteral("bcachefs"), QStringLiteral("reiserfs"),
  };
  return kTypes.contains(type) || type.startsWith(QLatin1String("fuse."));
}

struct Mount {
  QString point;
  QString type;
};

QList<Mount> Mounts() {
  QList<Mount> mounts;
  QFile file(QStringLiteral("/proc/self/mountinfo"));
  if (!file.open(QIODevice::ReadOnly)) return mounts;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    const qsizetype dash = fields.indexOf("-");
    if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size()) continue;
    mounts.append({Unescape(fields[4]), QString::fromLatin1(fields[dash + 1])});
  }
  return mounts;
}

}  // namespace

QStringList Drives() {
  QStringList drives{QStringLiteral("/")};
  for (const Mount& m : Mounts()) {
    if (drives.contains(m.point) || !IsStorage(m.type)) continue;
    // Runtime folders hold no user files, except removable media that some
    // systems mount under /run/media.
    if (UnderAny(m.point, {"/proc", "/sys", "/dev", "/run", "/var/run", "/var/lock", "/snap", "/boot"}) &&
        !UnderAny(m.point, {"/run/media"}))
      continue;
    const QFileInfo info(m.point);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) continue;
    drives << m.point;
  }
  return drives;
}

QString DriveFromSaved(const QString& saved) {
  static const QRegularExpression kLetter(QStringLiteral("^[A-Za-z]:([\\\\/].*)?$"));
  const QString t = saved.trimmed();
  if (t.isEmpty() || kLetter.match(t).hasMatch()) return QStringLiteral("/");
  return QDir::cleanPath(t);
}

QString DriveOf(const QString& path) {
  const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  QString best = QStringLiteral("/");
  for (const QString& drive : Drives())
    if ((clean == drive || clean.startsWith(drive + QLatin1Char('/'))) && drive.size() > best.size()) best = drive;
  return best;
}

QString DriveCurrentFolder(const QString& drive) {
  const QString current = QDir::currentPath();
  return DriveOf(current) == drive ? current : drive;
}

QStringList SubFolders(const QString& folder) {
  return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList MatchingFiles(const QString& folder, const QString& pattern) {
  QDir dir(folder);
  return dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

}  // namespace platform
