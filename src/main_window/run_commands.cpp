// The file chooser's commands, "Run It" (a barcode per number of a range)
// and "Copy Bar Code to Clipboard".
#include "main_window/form1.h"

#include "file_chooser/form2.h"
#include "platform/numbers.h"
#include "printing/incrementing_run.h"

#include <QProgressDialog>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace main_window {

namespace {

const QString kCopyComplete =
    QStringLiteral("Copy Complete, The barcode can be pasted in other windows applications now with Ctrl-V");
const QString kNothingToCopy =
    QStringLiteral("There is no barcode to copy: type a text the chosen bar code type can carry first.");
const QString kRunInProgress = QStringLiteral(
    "Run It is printing a range. Wait until it is done, or press Cancel in its progress window, "
    "before starting another run or printing a file.");

}  // namespace

void Form1::ConnectRunHandlers() {
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
  connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
}

// --- File chooser --------------------------------------------------------------

file_chooser::Form2* Form1::OpenChooser() const {
  return chooser_ && chooser_->isVisible() ? chooser_.data() : nullptr;
}

void Form1::FileOpen_Click() {
  if (file_chooser::Form2* open = OpenChooser()) {
    open->raise();
    open->activateWindow();
    return;
  }
  chooser_ = new file_chooser::Form2(*this, services_);
  chooser_->Form_Load();
  chooser_->show();
}

void Form1::Command3_Click() { FileOpen_Click(); }
void Form1::Command5_Click() { FileOpen_Click(); }

// --- Run It ---------------------------------------------------------------------

bool Form1::RefusedDuringIncrementingRun() {
  if (!incrementingRun_) return false;
  services_.dialogs.Ok(kRunInProgress, kWindowTitle);
  return true;
}

void Form1::ShowIncrementingProgress(const QString& text, int number, double left) {
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
    connect(incrementingProgress_, &QProgressDialog::canceled, this, &Form1::CancelIncrementingRun);
  }
  if (number == 1) incrementingProgress_->reset();
  incrementingProgress_->setMaximum(numbers);
  incrementingProgress_->setLabelText(label);
  incrementingProgress_->setValue(number);
}

void Form1::Command8_Click() {
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
    const std::optional<double> from = platform::ParseNumber(Text21->text());
    const std::optional<double> to = platform::ParseNumber(Text22->text());
    if (!from || !to) {
      refuse(QStringLiteral("Run It needs numbers in From and To (From: \"%1\", To: \"%2\").")
                 .arg(Text21->text(), Text22->text()));
      break;
    }
    if (!(*from < *to)) break;
    const std::optional<QString> next = printing::NextFrom(*from);
    if (!next) {
      refuse(QStringLiteral("From %1 has more digits than Run It can count with (15 significant digits): "
                            "the next number would print the same barcode again.")
                 .arg(Text21->text()));
      break;
    }
    clock.LetEventsRun();
    Text21->setProperty("Tag", Text1->text());
    const QString text = Text1->text() + Text21->text();
    ++run.numbers;
    ShowIncrementingProgress(text, run.numbers, *to - *from);
    Text1->setText(text);
    Command1_Click();
    const auto cancelled = [this] { return incrementingCancel_; };
    platform::Pause(clock, RunPauseSeconds, cancelled);
    if (incrementingCancel_) {  // during the pause: this number is not printed
      --run.numbers;
      run.cancelled = true;
      Text1->setText(Text21->property("Tag").toString());
      break;
    }
    const int jobsBefore = services_.printers.JobsSent();
    Command2_Click();
    if (services_.printers.JobsSent() > jobsBefore) {
      ++run.jobs;
      run.lastPrinted = text;
    } else {
      run.notPrinted << text;
    }
    platform::Pause(clock, RunPauseSeconds, cancelled);
    Text1->setText(Text21->property("Tag").toString());
    Text21->setText(*next);
    if (incrementingCancel_) {
      run.cancelled = true;
      break;
    }
  }
  incrementingRun_ = false;
  if (incrementingProgress_) incrementingProgress_->hide();
}

// --- Clipboard copy -----------------------------------------------------------

void Form1::Command9_Click() {
  Command9->setEnabled(false);
  const QImage picture = FinishedPicture();
  if (picture.isNull()) {
    // An empty picture would wipe what the user had on the clipboard.
    services_.dialogs.Ok(kNothingToCopy, kWindowTitle);
  } else {
    services_.clipboard.Clear();
    services_.clipboard.SetImage(picture);
    services_.clock.LetEventsRun();
    services_.dialogs.Ok(kCopyComplete, kWindowTitle);
  }
  Command9->setEnabled(true);
}

}  // namespace main_window
