// Writes the main window's options through the settings store, key after key
// in a fixed order, until it is killed (the store-kill test kills it at random
// moments). A long first value makes each write take longer, so kills land
// inside writes.
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  platform::SettingsStore store;
  const QStringList types{"type1", "type2", "type4", "type5", "type8", "type9"};
  const QStringList others{"Checkqq", "CheckPrintLine", "check1", "check2", "file", "text8", "font",
                           "barcodeoffset14", "barcodeoffset15", "c1opt", "text9", "show"};
  const auto save = [&store](const QString& key, const QString& value) { store.SaveSetting("Quillon", "options", key, value); };
  for (qint64 n = 1;; ++n) {
    save("line", QString(30000, QLatin1Char('p')) + QString::number(n));
    for (qsizetype i = 0; i < types.size(); ++i) save(types[i], n % types.size() == i ? "True" : "False");
    for (const QString& k : others) save(k, QString::number(k.startsWith("check", Qt::CaseInsensitive) ? n % 3 : k == "show" ? n % 2 : n));
  }
}
