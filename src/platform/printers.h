#pragma once
// The printers the program can print on: every printer the system (CUPS)
// reports, by device name, in the system's order, then the built-in printer
// that writes PDF files.
#include <QString>
#include <QStringList>

namespace platform {

inline const QString kSaveAsPdf = QStringLiteral("Save as PDF");

QStringList PrinterNames();
// The system's default printer, or "Save as PDF" where it has none.
QString DefaultPrinterName();

}  // namespace platform
