#include "jobs/label_run.h"

#include "jobs/options.h"
#include "platform/printers.h"
#include "platform/settings_store.h"

#include <algorithm>

namespace jobs {

LabelChoice ReadLabelChoice(const platform::SettingsStore& store) {
  LabelChoice choice;
  choice.product = store.GetSetting(kApp, kSection, kLabelsKey, QString()).simplified();
  bool whole = false;
  const int first = store.GetSetting(kApp, kSection, kFirstLabelKey, QString()).trimmed().toInt(&whole);
  if (whole && first >= 1) choice.firstLabel = first;
  return choice;
}

void SaveLabelChoice(platform::SettingsStore& store, const LabelChoice& choice) {
  store.SaveSetting(kApp, kSection, kLabelsKey, choice.product);
  store.SaveSetting(kApp, kSection, kFirstLabelKey, QString::number(choice.firstLabel));
}

std::optional<LabelSheet> SheetFor(const labels::Database& database, const LabelChoice& choice) {
  if (choice.product.isEmpty()) return std::nullopt;
  const labels::Product* product = database.Find(choice.product);
  if (!product) return std::nullopt;
  return LabelSheet{*product, std::clamp(choice.firstLabel, 1, std::max(1, labels::LabelsPerSheet(*product))),
                    choice.outline};
}

LabelRun::LabelRun(platform::Printers& printers, const LabelSheet& sheet)
    : printers_(printers), sheet_(sheet), geometry_(labels::SheetOf(sheet.product)) {
  printers_.SetSheetPage(geometry_.page);
}

LabelRun::~LabelRun() { printers_.SetSheetPage(std::nullopt); }

void LabelRun::Paint(const layout::Drawing& drawing) {
  const int perSheet = static_cast<int>(geometry_.labels.size());
  if (perSheet == 0) return;
  const labels::Slot slot = labels::SlotOf(next_++, sheet_.firstLabel, perSheet);
  StartPage(slot.page);
  const QRectF& label = geometry_.labels[static_cast<size_t>(slot.label)];
  const labels::Placement placed = labels::Place(QSizeF(drawing.size), drawing.modulePixels,
                                                 labels::InnerArea(sheet_.product, label), labels::Turning::MayTurn);
  if (placed.belowScannerLimit) {
    narrowestMm_ = shrunk_ == 0 ? placed.moduleMm : std::min(narrowestMm_, placed.moduleMm);
    ++shrunk_;
  }
  printers_.PaintInto(drawing, placed.picture, placed.turned);
}

// Moves the document on to the page (pages with no barcode stay blank),
// and outlines the labels of each page begun.
void LabelRun::StartPage(int page) {
  if (!printers_.DocumentOpen()) page_ = -1;  // sent meanwhile, or not begun yet
  if (page_ >= page) return;
  // The first page comes with the document; a barcode beyond it leaves blank sheets before.
  for (int p = std::max(page_, 0); p < page; ++p) printers_.NewPage();
  page_ = page;
  if (!sheet_.outline) return;
  const bool round = sheet_.product.shape == labels::Shape::Round;
  for (const QRectF& label : geometry_.labels) printers_.Outline(label, sheet_.product.corner, round);
}

QString LabelRun::ScannerWarning() const {
  if (shrunk_ == 0) return {};
  return QStringLiteral("%1 barcode(s) had to shrink to fit the labels of %2: their narrowest bars are down to %3 mm, "
                        "narrower than the %4 mm most scanners read.")
      .arg(shrunk_)
      .arg(labels::FullName(sheet_.product))
      .arg(narrowestMm_, 0, 'f', 2)
      .arg(labels::kScannerLimitMm, 0, 'f', 2);
}

}  // namespace jobs
