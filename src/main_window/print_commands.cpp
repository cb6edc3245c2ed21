// The main window's printing commands: "Print" (the current barcode at the
// offsets), "Print File" (a barcode per line of a text file) and the printer
// box.
#include "main_window/form1.h"

#include "platform/numbers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>

#include <cstdio>

namespace main_window {

namespace {

const QString kOffsetNotNumeric = QStringLiteral("The Barcode Offset must be a numeric value  ");
const QString kNoBarcode = QStringLiteral("Please Generate Barocode to print  ");
const QString kNoFile = QStringLiteral("Please Select a File to Print");
const QString kRunInProgress = QStringLiteral(
    "A file is being printed. Wait until it is done, or press Cancel in its progress window, "
    "before printing again.");

}  // namespace

// The file run's view of the window: the options as they are at each line,
// the generate command through Text1, progress and cancelling.
class FileRunAdapter : public printing::FileRunWindow {
 public:
  explicit FileRunAdapter(Form1& form) : form_(form) { clock_.start(); }

  QString Pattern() override { return form_.Text4->text(); }
  bool IncludePattern() override { return form_.Check1->Value() == 1; }
  bool PrintLines() override { return form_.CheckPrintLine->Value() == 1; }
  bool Columns() override { return form_.Checkqq->Value() == 1; }
  QImage Generate(const QString& value) override {
    // The change handler generates; an unchanged text keeps the last picture.
    form_.Text1->setText(value);
    return form_.FinishedPicture();
  }
  void LetEventsRun() override { QCoreApplication::processEvents(); }
  bool CancelRequested() override { return form_.fileRunCancel_; }

  void Progress(qint64 line, qint64 lines) override {
    if (form_.ProgressOnConsole) {
      // About once a second, and the last line.
      if (line == lines || lastReport_ < 0 || clock_.elapsed() - lastReport_ >= 1000) {
        lastReport_ = clock_.elapsed();
        std::fprintf(stderr, "quillon: printing line %lld of %lld\n", static_cast<long long>(line),
                     static_cast<long long>(lines));
      }
      return;
    }
    QProgressDialog*& dialog = form_.fileRunProgress_;
    if (!dialog) {
      dialog = new QProgressDialog(&form_);
      dialog->setWindowTitle(kWindowTitle);
      dialog->setWindowModality(Qt::NonModal);
      dialog->setAutoClose(false);
      dialog->setAutoReset(false);
      dialog->setMinimumDuration(1000);  // short runs show no window
      QObject::connect(dialog, &QProgressDialog::canceled, &form_, &Form1::CancelFileRun);
    }
    if (line == 1) dialog->reset();
    dialog->setMaximum(static_cast<int>(std::min<qint64>(lines, INT_MAX)));
    dialog->setLabelText(QStringLiteral("Printing line %1 of %2").arg(line).arg(lines));
    dialog->setValue(static_cast<int>(std::min<qint64>(line, INT_MAX)));
  }

 private:
  Form1& form_;
  QElapsedTimer clock_;
  qint64 lastReport_ = -1;
};

void Form1::ConnectPrintHandlers() {
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
}

// While a file prints (it lets window events run), a second run or a Print
// would write into its open document: both are refused.
bool Form1::RefusedDuringFileRun() {
  if (!fileRunActive_) return false;
  services_.dialogs.Ok(kRunInProgress, kWindowTitle);
  return true;
}

void Form1::Command2_Click() {
  if (RefusedDuringFileRun()) return;
  platform::Printers& printer = services_.printers;
  printer.SelectPrinter(Combo1->currentText());
  printer.SetScaleMode(platform::PageUnit::Centimetres);
  if (!platform::IsNumeric(Text14->text())) {
    services_.dialogs.Ok(kOffsetNotNumeric, kWindowTitle);
    Text14->setText(QStringLiteral("1"));
    return;
  }
  if (!platform::IsNumeric(Text15->text())) {
    services_.dialogs.Ok(kOffsetNotNumeric, kWindowTitle);
    Text15->setText(QStringLiteral("1"));
    return;
  }
  if (!Picture2->HasPicture()) {
    services_.dialogs.Ok(kNoBarcode, kWindowTitle);
    return;
  }
  const float left = static_cast<float>(*platform::ParseNumber(Text14->text()));
  const float top = static_cast<float>(*platform::ParseNumber(Text15->text()));
  printer.SetDocName(QStringLiteral("Quillon - ") + Text1->text());
  printer.PaintPicture(FinishedPicture(), left, top);
  if (!printer.EndDoc())
    services_.dialogs.Ok(QStringLiteral("The barcode could not be printed: ") + printer.LastError(), kWindowTitle);
}

void Form1::Command4_Click() {
  if (RefusedDuringFileRun() || RefusedDuringIncrementingRun()) return;
  if (FilePath.trimmed().isEmpty()) {
    services_.dialogs.Ok(kNoFile, kWindowTitle);
    return;
  }
  PrintFile();
}

void Form1::PrintFile() {
  if (RefusedDuringFileRun()) return;
  platform::Printers& printer = services_.printers;
  printer.SelectPrinter(Combo1->currentText());
  printer.SetDocName(QStringLiteral("Quillon - ") + QFileInfo(FilePath).fileName());
  fileRunActive_ = true;
  fileRunCancel_ = false;
  FileRunAdapter adapter(*this);
  lastFileRun_ = printing::RunFile(FilePath, printer, adapter);
  fileRunActive_ = false;
  if (fileRunProgress_) fileRunProgress_->hide();
  using Status = printing::FileRunResult::Status;
  if (lastFileRun_.status == Status::CannotOpen || lastFileRun_.status == Status::PrinterFailed)
    services_.dialogs.Ok(lastFileRun_.message, kWindowTitle);
}

void Form1::FillPrinterList() {
  Combo1->clear();
  Combo1->addItems(services_.printers.Names());
  // Free text: a saved printer that is gone still shows.
  Combo1->setEditText(services_.settings.GetSetting(kApp, kSection, QStringLiteral("c1opt"), QString()));
}

void Form1::PrintCommandLineFile(const QString& commandLine) {
  const QString path = commandLine.trimmed();
  if (path.isEmpty()) return;
  FilePath = path;
  Text5->setText(path);
  Command4_Click();
}

}  // namespace main_window
