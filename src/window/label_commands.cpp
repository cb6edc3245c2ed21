// The main window's label sheet and print preview: "Label Sheet..." in the
// Options menu and "Print Preview..." in the File menu.
#include "window/main_window.h"

#include "window/label_dialog.h"
#include "window/print_preview.h"

#include "jobs/print_job.h"
#include "platform/printers.h"

#include <QDir>

namespace window {

LabelDialog* MainWindow::OpenLabelDialog() const { return labelDialog_.data(); }
PrintPreview* MainWindow::OpenPreview() const { return preview_.data(); }

void MainWindow::RestoreLabelChoice() {
  labelChoice_ = jobs::ReadLabelChoice(services_.settings);
  // Only whether the templates are there: they are read when first needed.
  const QString folder = labels::TemplatesFolder();
  const bool templates = !QDir(folder).entryList({QStringLiteral("*.xml")}, QDir::Files).isEmpty();
  labelSheetAction->setEnabled(templates);
  labelSheetAction->setToolTip(templates ? QStringLiteral("Print one barcode a label on a sheet or roll of labels")
                                         : labels::NoTemplatesMessage(folder));
  optionsMenu->setToolTipsVisible(true);
}

const labels::Database& MainWindow::LabelDatabase() {
  if (!labelDatabase_) labelDatabase_ = std::make_unique<labels::Database>(labels::Database::Load());
  return *labelDatabase_;
}

const jobs::LabelSheet* MainWindow::CurrentLabels() {
  if (labelChoice_.product.isEmpty()) return nullptr;
  if (!labelSheet_) labelSheet_ = jobs::SheetFor(LabelDatabase(), labelChoice_);
  return labelSheet_ ? &*labelSheet_ : nullptr;
}

void MainWindow::SetLabelChoice(const jobs::LabelChoice& choice) {
  labelChoice_ = choice;
  labelSheet_.reset();
  jobs::SaveLabelChoice(services_.settings, choice);
  ShowStatus(choice.product.isEmpty()
                 ? QStringLiteral("No labels: barcodes print in rows")
                 : QStringLiteral("Labels: %1, from label %2").arg(choice.product).arg(choice.firstLabel));
}

void MainWindow::chooseLabelSheet() {
  if (labelDialog_) return labelDialog_->raise();
  labelDialog_ = new LabelDialog(this, LabelDatabase(), labelChoice_);
  labelDialog_->setAttribute(Qt::WA_DeleteOnClose);
  connect(labelDialog_, &QDialog::accepted, this, [this] { SetLabelChoice(labelDialog_->Choice()); });
  labelDialog_->open();
}

void MainWindow::printPreview() {
  if (preview_) return preview_->raise();
  const auto job = [this](platform::Printers& printers) -> QString {
    if (!FilePath.trimmed().isEmpty()) {
      const jobs::FileRunResult run = PreviewFileRun(printers);
      return run.status == jobs::FileRunResult::Status::Sent ? run.labelWarning : run.message;
    }
    const jobs::Printed printed =
        jobs::PrintBarcode(printers, finished_,
                           {printerBox->currentText(), leftOffsetBox->text(), topOffsetBox->text(), {}, CurrentLabels()});
    return printed.Sent() ? printed.warning : printed.message.trimmed();
  };
  const auto print = [this] { FilePath.trimmed().isEmpty() ? this->print() : printFile(); };
  preview_ = new PrintPreview(this, printerBox->currentText(), job, print);
  preview_->setAttribute(Qt::WA_DeleteOnClose);
  preview_->open();
}

void MainWindow::FinishLabelRange(jobs::LabelRun& labels) {
  const bool any = services_.printers.DocumentOpen();
  if (!services_.printers.EndDoc()) {
    const QString why = QStringLiteral("The labels could not be printed: ") + services_.printers.LastError();
    ShowStatus(why);
    services_.dialogs.Ok(why, kWindowTitle);
    return;
  }
  if (!any) return;
  const QString warning = labels.ScannerWarning();
  ShowStatus(QStringLiteral("%1 barcode(s) printed on labels to %2%3")
                 .arg(labels.LabelsUsed())
                 .arg(jobs::JobPlace(services_.printers), warning.isEmpty() ? QString() : QStringLiteral(". ") + warning),
             services_.printers.LastPdfPath());
}

}  // namespace window
