#include "platform/settings_store.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// Where Qt's native format keeps the application's store. Worked out without
// opening a QSettings, which reads the file at once.
QString StorePath(const QString& app) {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + app +
         QLatin1Char('/') + app + QStringLiteral(".conf");
}

// Only a regular file (or none yet) is opened as a store. Anything else in its
// place (a folder, a pipe, a device) would fail to read or, for a pipe, block
// the program forever; such a store reads as empty and takes no writes. So
// does a file too large to be one: Qt would read it whole on every access.
bool Usable(const QString& path) {
  const QFileInfo info(path);
  return !info.exists() || (info.isFile() && info.size() <= SettingsStore::kMaxBytes);
}

QSettings OpenStore(const QString& app) {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, app, app);
}

// The stored spelling of name among candidates, ignoring case; name itself
// when there is none.
QString StoredSpelling(const QStringList& candidates, const QString& name) {
  for (const QString& c : candidates)
    if (c.compare(name, Qt::CaseInsensitive) == 0) return c;
  return name;
}

// Writes are serialised through "<store>.lock". A writer killed between
// creating that file and filling in its owner leaves an empty lock that Qt
// only takes for stale after half a minute, stalling every later write. A
// live writer names itself at once, so a lock still without an owner after a
// short look is such a leftover.
void RemoveOwnerlessLock(const QString& storePath) {
  const QString lockPath = storePath + QStringLiteral(".lock");
  QElapsedTimer looked;
  looked.start();
  while (QFileInfo::exists(lockPath)) {
    qint64 pid = 0;
    QString host;
    QString appName;
    if (QLockFile(lockPath).getLockInfo(&pid, &host, &appName)) return;  // owned: Qt judges it
    if (looked.elapsed() >= 100) {
      QFile::remove(lockPath);
      return;
    }
    QThread::msleep(5);
  }
}

// Qt writes the store into a new file, flushes it and renames it over the old
// one; flushing the folder too makes the rename itself survive a power cut.
void SyncFolder(const QString& storePath) {
  const int fd = ::open(QFile::encodeName(QFileInfo(storePath).absolutePath()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A file with lines Qt cannot parse reports a format error, yet every line it
// could parse is there and a write replaces the file with a clean one: only
// an access error means the store could not be read or written.
bool Readable(const QSettings& s) { return s.status() != QSettings::AccessError; }

}  // namespace

QString SettingsStore::GetSetting(const QString& app, const QString& section,
                                  const QString& key, const QString& defaultValue) const {
  if (!Usable(StorePath(app))) return defaultValue;
  QSettings s = OpenStore(app);
  if (!Readable(s)) return defaultValue;
  s.beginGroup(StoredSpelling(s.childGroups(), section));
  const QString k = StoredSpelling(s.childKeys(), key);
  if (!s.contains(k)) return defaultValue;
  const QVariant v = s.value(k);
  // A hand-written value with unquoted commas reads back as a list.
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
  return v.toString();
}

bool SettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                const QString& value) {
  if (readOnly_) return true;
  const QString path = StorePath(app);
  if (!Usable(path)) return false;
  RemoveOwnerlessLock(path);
  QSettings s = OpenStore(app);
  s.beginGroup(StoredSpelling(s.childGroups(), section));
  s.setValue(StoredSpelling(s.childKeys(), key), value);
  s.endGroup();
  s.sync();
  if (!Readable(s)) return false;
  SyncFolder(path);
  return true;
}

bool SettingsStore::DeleteApplication(const QString& app) {
  if (readOnly_) return false;
  const QString path = StorePath(app);
  if (const QFileInfo info(path); info.isFile() && info.size() > kMaxBytes) {
    const bool removed = QFile::remove(path);
    SyncFolder(path);
    return removed;
  }
  if (!Usable(path)) return false;
  RemoveOwnerlessLock(path);
  QSettings s = OpenStore(app);
  s.clear();
  s.sync();
  const bool ok = Readable(s);
  // An empty store is the same as none; remove the file where we can.
  QFile::remove(path);
  SyncFolder(path);
  return ok;
}

QString SettingsStore::FilePath(const QString& app) const { return StorePath(app); }

QString SettingsStore::Problem(const QString& app) const {
  const QFileInfo info(StorePath(app));
  if (!info.isFile() || info.size() <= kMaxBytes) return {};
  return QStringLiteral("The settings file %1 holds %2 bytes, more than saved options ever take: it is corrupt")
      .arg(info.filePath())
      .arg(info.size());
}

}  // namespace platform
