// Writes the main window's options through the settings store, key after key
// in a fixed order, until it is killed. The store-kill test kills it at
// random moments and checks what it leaves behind.
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  platform::SettingsStore store;
  const QStringList types{"type1", "type2", "type4", "type5", "type8", "type9"};
  const QStringList checks{"Checkqq", "CheckPrintLine", "check1", "check2"};
  const QStringList texts{"file", "text8", "font", "barcodeoffset14", "barcodeoffset15", "c1opt", "text9", "show"};
  // A long value makes each write take longer, so kills land inside writes.
  const QString padding(30000, QLatin1Char('p'));
  const QString appName = QStringLiteral("Quillon");
  const QString section = QStringLiteral("options");
  for (qint64 n = 1;; ++n) {
    const QString number = QString::number(n);
    store.SaveSetting(appName, section, QStringLiteral("line"), padding + number);
    for (qsizetype i = 0; i < types.size(); ++i)
      store.SaveSetting(appName, section, types[i], n % types.size() == i ? QStringLiteral("True") : QStringLiteral("False"));
    for (const QString& k : checks) store.SaveSetting(appName, section, k, QString::number(n % 3));
    for (const QString& k : texts) store.SaveSetting(appName, section, k, k == QLatin1String("show") ? QString::number(n % 2) : number);
  }
}
