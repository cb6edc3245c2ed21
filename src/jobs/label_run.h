#pragma once
// Barcodes on label sheets and rolls: the product chosen and where on it a
// run starts, kept for the next start under keys of their own; and the page
// painter every output that places barcodes shares (the file run, Run It,
// Print, the print preview): each barcode centred in its label inside the
// markup margin, shrunk uniformly where it is larger, labels filled row by
// row from the first label, a new sheet when one is full.
#include "labels/database.h"
#include "labels/sheet.h"
#include "layout/drawing.h"

#include <QString>

#include <optional>

namespace platform {
class Printers;
class SettingsStore;
}  // namespace platform

namespace jobs {

// The saved choice: a product's name ("Avery 5160"), "" for no labels.
inline const QString kLabelsKey = QStringLiteral("labels");
inline const QString kFirstLabelKey = QStringLiteral("firstlabel");

struct LabelChoice {
  QString product;
  int firstLabel = 1;
  bool outline = false;  // each label's outline drawn too, to check a printer's alignment
};

// The stored choice; a store without it, or with a first label that is no
// whole number from 1, means no labels or the first label. Never an error.
LabelChoice ReadLabelChoice(const platform::SettingsStore& store);
void SaveLabelChoice(platform::SettingsStore& store, const LabelChoice& choice);

// A choice resolved against the database.
struct LabelSheet {
  labels::Product product;
  int firstLabel = 1;  // within the sheet
  bool outline = false;
};

// The chosen product's sheet, or nothing for no labels, an unknown product
// or a missing database (the first label is kept within the sheet).
std::optional<LabelSheet> SheetFor(const labels::Database& database, const LabelChoice& choice);

// Paints one document's barcodes on labels: it sets the printer's page to
// the sheet's (a roll's label) for its life, and gives the printer's own
// page back at its end. The document is sent by whoever ends it (EndDoc).
class LabelRun {
 public:
  LabelRun(platform::Printers& printers, const LabelSheet& sheet);
  ~LabelRun();
  LabelRun(const LabelRun&) = delete;
  LabelRun& operator=(const LabelRun&) = delete;

  // The drawing on the next label.
  void Paint(const layout::Drawing& drawing);
  // The next label stays empty (a blank line).
  void Skip() { ++next_; }
  int LabelsUsed() const { return next_; }
  // Said once per run: how many barcodes had to shrink below the width
  // most scanners read, and the narrowest module; "" when none did.
  QString ScannerWarning() const;

 private:
  void StartPage(int page);

  platform::Printers& printers_;
  const LabelSheet sheet_;
  labels::Sheet geometry_;
  int next_ = 0;      // labels taken, from the first label
  int page_ = -1;     // the document's page painted last; -1 before any
  int shrunk_ = 0;    // barcodes below the scanner limit
  double narrowestMm_ = 0;
};

}  // namespace jobs
