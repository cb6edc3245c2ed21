// The file chooser's commands, "Run It" (a barcode per number of a range)
// and "Copy Bar Code to Clipboard".
#include "window/main_window.h"

#include "window/file_chooser.h"

#include "jobs/print_job.h"

#include <QProgressDialog>

#include <algorithm>
#include <climits>
#include <cmath>

namespace window {

namespace {

const QString kCopyComplete =
    QStringLiteral("Copy Complete, The barcode can be pasted in other windows applications now with Ctrl-V");
const QString kNothingToCopy =
    QStringLiteral("There is no barcode to copy: type a text the chosen bar code type can carry first.");
const QString kRunInProgress = QStringLiteral(
    "Run It is printing a range. Wait until it is done, or press Cancel in its progress window, "
    "before starting another run or printing a file.");

}  // namespace

void MainWindow::ConnectRunHandlers() {
  connect(openFileButton, &QPushButton::clicked, this, &MainWindow::openFileChooser);
  connect(browseButton, &QPushButton::clicked, this, &MainWindow::openFileChooser);
  connect(runButton, &QPushButton::clicked, this, &MainWindow::runRange);
  connect(copyButton, &QPushButton::clicked, this, &MainWindow::copyToClipboard);
}

// --- File chooser --------------------------------------------------------------

window::FileChooser* MainWindow::OpenChooser() const {
  return chooser_ && chooser_->isVisible() ? chooser_.data() : nullptr;
}

void MainWindow::openFileChooser() {
  if (window::FileChooser* open = OpenChooser()) {
    open->raise();
    open->activateWindow();
    return;
  }
  chooser_ = new window::FileChooser(*this, services_);
  chooser_->restoreState();
  chooser_->move(geometry().center() - chooser_->rect().center());  // over the window, not at the screen's corner
  chooser_->show();
}

void MainWindow::TakeChooserPath(const QString& path) {
  if (filePathBox->text() == path) return;
  pathFromChooser_ = true;
  filePathBox->setText(path);
  pathFromChooser_ = false;
}

void MainWindow::ChooserClosed(bool accepted) {
  if (!accepted) return TakeChooserPath(pathBeforeChooser_);
  pathBeforeChooser_ = filePathBox->text();
  SaveOption(QStringLiteral("file"), filePathBox->text());
}


// --- Run It ---------------------------------------------------------------------

bool MainWindow::RefusedDuringIncrementingRun() {
  if (!incrementingRun_) return false;
  services_.dialogs.Ok(kRunInProgress, kWindowTitle);
  return true;
}

void MainWindow::ShowIncrementingProgress(const QString& text, int number, double left) {
  // The count is capped where an int ends: To may lie far beyond.
  const int numbers = number - 1 + static_cast<int>(std::min(std::ceil(left), static_cast<double>(INT_MAX - number)));
  const QString label = QStringLiteral("Printing %1 (number %2 of %3)").arg(text).arg(number).arg(numbers);
  if (!incrementingProgress_) {
    incrementingProgress_ = new QProgressDialog(this);
    incrementingProgress_->setWindowTitle(kWindowTitle);
    KeepTitleWhole(incrementingProgress_);
    incrementingProgress_->setWindowModality(Qt::NonModal);
    incrementingProgress_->setAutoClose(false);
    incrementingProgress_->setAutoReset(false);
    incrementingProgress_->setMinimumDuration(0);
    connect(incrementingProgress_, &QProgressDialog::canceled, this, &MainWindow::CancelIncrementingRun);
  }
  if (number == 1) incrementingProgress_->reset();
  incrementingProgress_->setMaximum(numbers);
  incrementingProgress_->setLabelText(label);
  incrementingProgress_->setValue(number);
}

// Run It's view of the window: From and To in their boxes, the text box
// holding the prefix, "Bar Code" and "Print" as the buttons run them.
class RangeAdapter : public jobs::RangeHost {
 public:
  RangeAdapter(MainWindow& window, jobs::LabelRun* labels) : window_(window), labels_(labels) {}
  QString From() override { return window_.rangeFromBox->text(); }
  QString To() override { return window_.rangeToBox->text(); }
  void SetFrom(const QString& from) override { window_.rangeFromBox->setText(from); }
  QString Text() override { return window_.barcodeText->text(); }
  void SetText(const QString& text) override { window_.barcodeText->setText(text); }
  void Generate() override { window_.generate(); }
  bool Print() override {
    if (labels_) {  // the next label of the run's one document
      if (!window_.finishedPicture().Drawn()) window_.services_.dialogs.Ok(jobs::kNoBarcode, kWindowTitle);
      if (!window_.finishedPicture().Drawn()) return false;
      labels_->Paint(*window_.finishedPicture().drawing);
      return true;
    }
    const int before = window_.services_.printers.JobsSent();
    window_.print();
    return window_.services_.printers.JobsSent() > before;
  }
  void Progress(const QString& text, int number, double left) override {
    window_.ShowIncrementingProgress(text, number, left);
  }
  bool CancelRequested() override { return window_.incrementingCancel_; }
  void Refuse(const QString& why) override { window_.services_.dialogs.Ok(why, kWindowTitle); }

 private:
  MainWindow& window_;
  jobs::LabelRun* labels_;
};

void MainWindow::runRange() {
  if (RefusedDuringFileRun() || RefusedDuringIncrementingRun()) return;
  incrementingRun_ = true;
  incrementingCancel_ = false;
  // On labels every number goes on the next label of one document.
  std::optional<jobs::LabelRun> labels;
  if (const jobs::LabelSheet* sheet = CurrentLabels()) {
    services_.printers.SelectPrinter(printerBox->currentText());
    services_.printers.SetDocName(QStringLiteral("Quillon - ") + barcodeText->text() + rangeFromBox->text());
    labels.emplace(services_.printers, *sheet);
  }
  RangeAdapter adapter(*this, labels ? &*labels : nullptr);
  lastIncrementingRun_ = jobs::RunRange(adapter, services_.clock, RunPauseSeconds);
  incrementingRun_ = false;
  if (incrementingProgress_) incrementingProgress_->hide();
  if (labels)
    FinishLabelRange(*labels);
  else
    ReportIncrementingRun();
}

// The status line after a run: how many were sent where, or where it stopped.
void MainWindow::ReportIncrementingRun() {
  const jobs::RangeResult& run = lastIncrementingRun_;
  if (run.numbers == 0 && !run.cancelled)
    return ShowStatus(run.refusal.isEmpty() ? QStringLiteral("Nothing to run: From is not less than To")
                                            : QStringLiteral("Not run: ") + run.refusal);
  const QString barcodes = run.jobs == 1 ? QStringLiteral("1 barcode") : QStringLiteral("%1 barcodes").arg(run.jobs);
  QString text = QStringLiteral("%1 sent to %2").arg(barcodes, printerBox->currentText());
  if (run.cancelled || !run.refusal.isEmpty()) {
    // Of all the numbers the range held: those tried, and those still to come.
    const std::optional<jobs::RangeStep> rest = jobs::NextStep(rangeFromBox->text(), rangeToBox->text());
    const double left = rest && rest->refusal.isEmpty() ? std::ceil(rest->to - rest->from) : 0;
    const QString after = run.lastPrinted.isEmpty() ? QStringLiteral("stopped before the first was sent")
                                                    : QStringLiteral("stopped after ") + run.lastPrinted;
    text = QStringLiteral("%1: %2 of %3 sent").arg(after).arg(run.jobs).arg(static_cast<qint64>(run.numbers + left));
  }
  if (!run.notPrinted.isEmpty()) text += QStringLiteral("; not sent: ") + run.notPrinted.join(QStringLiteral(", "));
  ShowStatus(text);
}

// --- Clipboard copy -----------------------------------------------------------

void MainWindow::copyToClipboard() {
  copyButton->setEnabled(false);
  if (!finished_.Drawn()) {
    // An empty picture would wipe what the user had on the clipboard.
    ShowStatus(QStringLiteral("Not copied: no barcode"));
    services_.dialogs.Ok(kNothingToCopy, kWindowTitle);
  } else {
    // With its quiet zone, so that it scans pasted next to anything dark.
    services_.clipboard.Clear();
    services_.clipboard.SetImage(jobs::WithQuietZone(finished_, kQuietZoneModules).picture);
    services_.clock.LetEventsRun();
    ShowStatus(QStringLiteral("Barcode copied to the clipboard"));
    services_.dialogs.Ok(kCopyComplete, kWindowTitle);
  }
  copyButton->setEnabled(true);
}

}  // namespace window
