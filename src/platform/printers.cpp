#include "platform/printers.h"

#include <QPrinterInfo>

namespace platform {

QStringList PrinterNames() {
  QStringList names = QPrinterInfo::availablePrinterNames();
  names.removeAll(kSaveAsPdf);  // the built-in one always comes last, once
  names << kSaveAsPdf;
  return names;
}

QString DefaultPrinterName() {
  const QString name = QPrinterInfo::defaultPrinterName();
  return name.isEmpty() ? kSaveAsPdf : name;
}

}  // namespace platform
