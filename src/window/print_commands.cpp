// The main window's printing commands: "Print" (the current barcode at the
// offsets), "Print File" (a barcode per line of a text file) and the printer
// box.
#include "window/main_window.h"

#include "platform/numbers.h"
#include "render/image.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QStatusBar>
#include <QUrl>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>

#include <cstdio>

namespace window {

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
  explicit FileRunAdapter(MainWindow& window) : window_(window) { clock_.start(); }

  QString Pattern() override { return window_.linePatternBox->text(); }
  bool IncludePattern() override { return window_.includePatternCheck->Value() == 1; }
  bool PrintLines() override { return window_.printLineCheck->Value() == 1; }
  bool Columns() override { return window_.columnsCheck->Value() == 1; }
  QImage Generate(const QString& value) override {
    // The change handler generates; an unchanged text keeps the last picture.
    window_.barcodeText->setText(value);
    return window_.finishedPicture().picture;
  }
  QString Problem() override { return window_.LastProblem(); }
  void LetEventsRun() override { QCoreApplication::processEvents(); }
  bool CancelRequested() override { return window_.fileRunCancel_; }
  void Refused(const printing::RefusedLine& refused) override {
    if (window_.OnRefusedLine) window_.OnRefusedLine(refused);
  }

  // lines is -1 for a stream: its length is unknown.
  void Progress(qint64 line, qint64 lines) override {
    if (window_.ProgressOnConsole) {
      // About once a second, and the last line.
      if (line == lines || lastReport_ < 0 || clock_.elapsed() - lastReport_ >= 1000) {
        lastReport_ = clock_.elapsed();
        if (lines < 0)
          std::fprintf(stderr, "quillon: printing line %lld\n", static_cast<long long>(line));
        else
          std::fprintf(stderr, "quillon: printing line %lld of %lld\n", static_cast<long long>(line),
                       static_cast<long long>(lines));
      }
      return;
    }
    QProgressDialog*& dialog = window_.fileRunProgress_;
    if (!dialog) {
      dialog = new QProgressDialog(&window_);
      dialog->setWindowTitle(kWindowTitle);
      dialog->setWindowModality(Qt::NonModal);
      dialog->setAutoClose(false);
      dialog->setAutoReset(false);
      dialog->setMinimumDuration(1000);  // short runs show no window
      QObject::connect(dialog, &QProgressDialog::canceled, &window_, &MainWindow::CancelFileRun);
    }
    if (line == 1) dialog->reset();
    // The label and bar change every 50 ms at most, and on the first and last line.
    if (line != 1 && line != lines && clock_.elapsed() - lastShown_ < 50) return;
    lastShown_ = clock_.elapsed();
    if (lines < 0) {
      dialog->setMaximum(0);  // a busy bar: the end is unknown
      dialog->setLabelText(QStringLiteral("Printing line %1").arg(line));
      dialog->setValue(0);
      return;
    }
    dialog->setMaximum(static_cast<int>(std::min<qint64>(lines, INT_MAX)));
    dialog->setLabelText(QStringLiteral("Printing line %1 of %2").arg(line).arg(lines));
    dialog->setValue(static_cast<int>(std::min<qint64>(line, INT_MAX)));
  }

 private:
  MainWindow& window_;
  QElapsedTimer clock_;
  qint64 lastReport_ = -1;
  qint64 lastShown_ = -1;
};

void MainWindow::ConnectPrintHandlers() {
  connect(printButton, &QPushButton::clicked, this, &MainWindow::print);
  connect(printFileButton, &QPushButton::clicked, this, &MainWindow::printFile);
  // A printer picked from the list is kept at once.
  connect(printerBox, &QComboBox::activated, this, &MainWindow::onPrinterChosen);
  BuildStatusBar();
}

void MainWindow::BuildStatusBar() {
  statusLine_ = new QLabel(this);
  statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusFolderLink_ = new QLabel(this);
  statusFolderLink_->setText(QStringLiteral("<a href=\"folder\">Open folder</a>"));
  statusFolderLink_->setVisible(false);
  connect(statusFolderLink_, &QLabel::linkActivated, this,
          [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(statusFolder_)); });
  statusBar()->addWidget(statusLine_, 1);
  statusBar()->addPermanentWidget(statusFolderLink_);
  statusBar()->setSizeGripEnabled(false);
}

QString MainWindow::StatusText() const { return statusLine_->text(); }

void MainWindow::ShowStatus(const QString& text, const QString& pdfPath) {
  statusLine_->setText(text);
  statusFolder_ = pdfPath.isEmpty() ? QString() : QFileInfo(pdfPath).absolutePath();
  statusFolderLink_->setVisible(!statusFolder_.isEmpty());
  if (qEnvironmentVariableIsSet("QUILLON_DEBUG"))
    std::fprintf(stderr, "quillon: status: %s\n", text.toLocal8Bit().constData());
}

namespace {

// "the printer "X"" or "X.pdf (Save as PDF)": where a finished job went.
QString JobPlace(const QString& printer, const QString& pdfPath) {
  return pdfPath.isEmpty() ? QStringLiteral("the printer \"%1\"").arg(printer)
                           : QStringLiteral("%1 (%2)").arg(pdfPath, platform::kSaveAsPdf);
}

// Why the picture would be cut at the right or bottom edge of the page's
// printable area (a label's, often) at the offsets in centimetres, or "".
QString Misfit(const platform::Printers& printer, const QImage& picture, double left, double top) {
  const double ink = printer.PictureWidth(picture) * render::InkRight(picture) / std::max(1, picture.width());
  const double right = 10 * (left + ink - printer.ScaleWidth());
  const double below = 10 * (top + printer.PictureHeight(picture) - printer.ScaleHeight());
  if (right <= 0 && below <= 0) return {};
  QStringList past;
  if (right > 0) past << QStringLiteral("%1 mm past the right edge").arg(right, 0, 'f', 1);
  if (below > 0) past << QStringLiteral("%1 mm past the bottom").arg(below, 0, 'f', 1);
  return QStringLiteral("The barcode does not fit the page at these offsets: it would reach %1 of the printable area "
                        "(%2 x %3 mm).")
      .arg(past.join(QStringLiteral(" and ")))
      .arg(10 * printer.ScaleWidth(), 0, 'f', 1)
      .arg(10 * printer.ScaleHeight(), 0, 'f', 1);
}

}  // namespace

// While a file prints (it lets window events run), a second run or a Print
// would write into its open document: both are refused.
bool MainWindow::RefusedDuringFileRun() {
  if (!fileRunActive_) return false;
  ShowStatus(QStringLiteral("Not printed: a file is being printed"));
  services_.dialogs.Ok(kRunInProgress, kWindowTitle);
  return true;
}

void MainWindow::print() {
  if (RefusedDuringFileRun()) return;
  platform::Printers& printer = services_.printers;
  printer.SelectPrinter(printerBox->currentText());
  printer.SetScaleMode(platform::PageUnit::Centimetres);
  const auto refuse = [this](const QString& message) {
    ShowStatus(QStringLiteral("Not printed: ") + message.trimmed());
    services_.dialogs.Ok(message, kWindowTitle);
  };
  if (!platform::IsNumeric(leftOffsetBox->text())) {
    refuse(kOffsetNotNumeric);
    leftOffsetBox->setText(QStringLiteral("1"));
    return;
  }
  if (!platform::IsNumeric(topOffsetBox->text())) {
    refuse(kOffsetNotNumeric);
    topOffsetBox->setText(QStringLiteral("1"));
    return;
  }
  if (!finished_.Drawn()) {
    refuse(kNoBarcode);
    return;
  }
  const float left = static_cast<float>(*platform::ParseNumber(leftOffsetBox->text()));
  const float top = static_cast<float>(*platform::ParseNumber(topOffsetBox->text()));
  const QImage& picture = finished_.picture;
  if (const QString misfit = Misfit(printer, picture, left, top); !misfit.isEmpty()) {
    refuse(misfit);
    return;
  }
  printer.SetDocName(QStringLiteral("Quillon - ") + barcodeText->text());
  printer.PaintPicture(picture, left, top);
  if (!printer.EndDoc()) {
    const QString message = QStringLiteral("The barcode could not be printed: ") + printer.LastError();
    ShowStatus(message);
    services_.dialogs.Ok(message, kWindowTitle);
    return;
  }
  ShowStatus(QStringLiteral("1 barcode printed to %1").arg(JobPlace(printer.CurrentName(), printer.LastPdfPath())),
             printer.LastPdfPath());
}

void MainWindow::printFile() {
  if (RefusedDuringFileRun() || RefusedDuringIncrementingRun()) return;
  if (FilePath.trimmed().isEmpty()) {
    ShowStatus(QStringLiteral("Not printed: no file chosen"));
    services_.dialogs.Ok(kNoFile, kWindowTitle);
    return;
  }
  PrintFile();
}

void MainWindow::PrintFile() {
  if (RefusedDuringFileRun()) return;
  platform::Printers& printer = services_.printers;
  printer.SelectPrinter(printerBox->currentText());
  printer.SetDocName(QStringLiteral("Quillon - ") + QFileInfo(FilePath).fileName());
  fileRunActive_ = true;
  fileRunCancel_ = false;
  FileRunAdapter adapter(*this);
  // "-" is standard input only for the command line: the window would wait
  // on a terminal nobody types into. There it names a file called "-".
  const QString path = FilePath == QLatin1String("-") && !ProgressOnConsole ? QStringLiteral("./-") : FilePath;
  lastFileRun_ = printing::RunFile(path, printer, adapter);
  fileRunActive_ = false;
  if (fileRunProgress_) fileRunProgress_->hide();
  using Status = printing::FileRunResult::Status;
  const printing::FileRunResult& run = lastFileRun_;
  const QString file = QFileInfo(FilePath).fileName();
  switch (run.status) {
    case Status::CannotOpen:
    case Status::PrinterFailed:
      ShowStatus(QStringLiteral("Not printed: ") + run.message.trimmed());
      services_.dialogs.Ok(run.message, kWindowTitle);
      return;
    case Status::NothingPrinted:
      ShowStatus(run.cancelled ? QStringLiteral("Cancelled before anything of %1 was printed").arg(file)
                               : QStringLiteral("Nothing printed: no line of %1 gave a barcode").arg(file));
      break;
    case Status::Sent:
      ShowStatus(run.cancelled ? QStringLiteral("Cancelled after line %1 of %2: %3 barcode(s) printed to %4")
                                     .arg(run.lines)
                                     .arg(file)
                                     .arg(run.barcodes)
                                     .arg(JobPlace(printer.CurrentName(), run.pdfPath))
                               : QStringLiteral("%1 barcode(s) from %2 lines of %3 printed to %4")
                                     .arg(run.barcodes)
                                     .arg(run.lines)
                                     .arg(file, JobPlace(printer.CurrentName(), run.pdfPath)),
                 run.pdfPath);
      break;
  }
  if (OnRefusedLine) return;  // the command line has reported the run itself
  // One message at the end: why nothing was printed, the refused lines.
  QStringList parts;
  if (!run.message.isEmpty()) parts << run.message;
  if (run.refused > 0) {
    QString list = QStringLiteral("%1 of %2 matching lines gave no barcode:").arg(run.refused).arg(run.matching);
    for (const printing::RefusedLine& r : run.firstRefused)
      list += QStringLiteral("\nline %1: \"%2\": %3").arg(r.number).arg(r.text, r.reason);
    if (run.refused > run.firstRefused.size())
      list += QStringLiteral("\n(and %1 more)").arg(run.refused - run.firstRefused.size());
    parts << list;
  }
  if (!parts.isEmpty()) services_.dialogs.Ok(parts.join(QStringLiteral("\n\n")), kWindowTitle);
}

void MainWindow::FillPrinterList() {
  printerBox->clear();
  printerBox->addItems(services_.printers.Names());
  // Free text: a saved printer that is gone still shows. With none saved the
  // box shows where printing goes: the current printer.
  const QString saved = services_.settings.GetSetting(kApp, kSection, QStringLiteral("c1opt"), QString());
  printerBox->setEditText(saved.isEmpty() ? services_.printers.CurrentName() : saved);
}

void MainWindow::PrintCommandLineFile(const QString& commandLine) {
  const QString path = commandLine.trimmed();
  if (path.isEmpty()) return;
  FilePath = path;
  filePathBox->setText(path);
  printFile();
}

}  // namespace window
