// The file chooser's commands, "Run It" (a barcode per number of a range)
// and "Copy Bar Code to Clipboard".
#include "window/main_window.h"

#include "window/file_chooser.h"
#include "platform/numbers.h"
#include "printing/incrementing_run.h"

#include <QProgressDialog>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

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
  chooser_->show();
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
  if (ProgressOnConsole) {
    std::fprintf(stderr, "quillon: %s\n", label.toLocal8Bit().constData());
    return;
  }
  if (!incrementingProgress_) {
    incrementingProgress_ = new QProgressDialog(this);
    incrementingProgress_->setWindowTitle(kWindowTitle);
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

void MainWindow::runRange() {
  if (RefusedDuringFileRun() || RefusedDuringIncrementingRun()) return;
  platform::Clock& clock = services_.clock;
  IncrementingRunResult& run = lastIncrementingRun_;
  run = {};
  incrementingRun_ = true;
  incrementingCancel_ = false;
  const auto refuse = [&](const QString& why) { services_.dialogs.Ok(run.refusal = why, kWindowTitle); };
  // From and To are read again before every step: editing them changes the
  // rest of the run.
  for (;;) {
    const std::optional<double> from = platform::ParseNumber(rangeFromBox->text());
    const std::optional<double> to = platform::ParseNumber(rangeToBox->text());
    if (!from || !to) {
      refuse(QStringLiteral("Run It needs numbers in From and To (From: \"%1\", To: \"%2\").")
                 .arg(rangeFromBox->text(), rangeToBox->text()));
      break;
    }
    if (!(*from < *to)) break;
    const std::optional<QString> next = printing::NextFrom(*from);
    if (!next) {
      refuse(QStringLiteral("From %1 has more digits than Run It can count with (15 significant digits): "
                            "the next number would print the same barcode again.")
                 .arg(rangeFromBox->text()));
      break;
    }
    clock.LetEventsRun();
    rangeFromBox->setProperty("Tag", barcodeText->text());
    const QString text = barcodeText->text() + rangeFromBox->text();
    ++run.numbers;
    ShowIncrementingProgress(text, run.numbers, *to - *from);
    barcodeText->setText(text);
    generate();
    const auto cancelled = [this] { return incrementingCancel_; };
    platform::Pause(clock, RunPauseSeconds, cancelled);
    if (incrementingCancel_) {  // during the pause: this number is not printed
      --run.numbers;
      run.cancelled = true;
      barcodeText->setText(rangeFromBox->property("Tag").toString());
      break;
    }
    const int jobsBefore = services_.printers.JobsSent();
    print();
    if (services_.printers.JobsSent() > jobsBefore) {
      ++run.jobs;
      run.lastPrinted = text;
    } else {
      run.notPrinted << text;
    }
    platform::Pause(clock, RunPauseSeconds, cancelled);
    barcodeText->setText(rangeFromBox->property("Tag").toString());
    rangeFromBox->setText(*next);
    if (incrementingCancel_) {
      run.cancelled = true;
      break;
    }
  }
  incrementingRun_ = false;
  if (incrementingProgress_) incrementingProgress_->hide();
}

// --- Clipboard copy -----------------------------------------------------------

void MainWindow::copyToClipboard() {
  copyButton->setEnabled(false);
  const QImage& picture = finished_.picture;
  if (picture.isNull()) {
    // An empty picture would wipe what the user had on the clipboard.
    services_.dialogs.Ok(kNothingToCopy, kWindowTitle);
  } else {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(picture);
    services_.clock.LetEventsRun();
    services_.dialogs.Ok(kCopyComplete, kWindowTitle);
  }
  copyButton->setEnabled(true);
}

}  // namespace window
