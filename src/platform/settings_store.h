#pragma once
// The per-user settings store: string values addressed by application,
// section and key. Qt's native format: on Linux
// ${XDG_CONFIG_HOME:-~/.config}/APP/APP.conf, section = INI group.
// Sections and keys match without regard to case; a write keeps the spelling
// of a key that is already there. Every write reaches the disk atomically and
// durably (a flushed temporary file renamed over the old one, then the folder
// flushed), so a crash leaves either the old or the new store.
// A store that cannot be read at all (a folder or a pipe in place of the file,
// no permission) reads as empty; lines that are not in the store's format are
// skipped, and the next write leaves a clean file. A file over kMaxBytes is
// corrupt: it reads as empty, takes no writes, and deleting removes it.
#include <QString>

namespace platform {

class SettingsStore {
 public:
  QString GetSetting(const QString& app, const QString& section, const QString& key,
                     const QString& defaultValue) const;
  // False when the store could not be written.
  bool SaveSetting(const QString& app, const QString& section, const QString& key,
                   const QString& value);
  // Removes every section and key of the application; false when they could
  // not be removed (a read-only store removes nothing).
  bool DeleteApplication(const QString& app);

  static constexpr qint64 kMaxBytes = 1024 * 1024;
  // Why the application's store cannot be used ("" when it can).
  QString Problem(const QString& app) const;

  // Where the application's store lives.
  QString FilePath(const QString& app) const;

  // A read-only store ignores writes and deletions (used by one-off runs such
  // as --export, which must not change the saved options).
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }

 private:
  bool readOnly_ = false;
};

}  // namespace platform
