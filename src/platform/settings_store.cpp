#include "platform/settings_store.h"

#include <QFile>
#include <QSettings>
#include <QStringList>

namespace platform {

namespace {

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

}  // namespace

QString SettingsStore::GetSetting(const QString& app, const QString& section,
                                  const QString& key, const QString& defaultValue) const {
  QSettings s = OpenStore(app);
  if (s.status() != QSettings::NoError) return defaultValue;
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
  QSettings s = OpenStore(app);
  s.beginGroup(StoredSpelling(s.childGroups(), section));
  s.setValue(StoredSpelling(s.childKeys(), key), value);
  s.endGroup();
  s.sync();
  return s.status() == QSettings::NoError;
}

bool SettingsStore::DeleteApplication(const QString& app) {
  if (readOnly_) return true;
  QSettings s = OpenStore(app);
  s.clear();
  s.sync();
  const bool ok = s.status() == QSettings::NoError;
  // An empty store is the same as none; remove the file where we can.
  QFile::remove(s.fileName());
  return ok;
}

QString SettingsStore::FilePath(const QString& app) const { return OpenStore(app).fileName(); }

}  // namespace platform
