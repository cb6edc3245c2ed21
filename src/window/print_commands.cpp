// The main window's printing commands: "Print" (the current barcode at the
// offsets), "Print File" (a barcode per line of a text file) and the printer
// box.
#include "window/main_window.h"

#include "window/file_chooser.h"

#include "jobs/print_job.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QStatusBar>
#include <QUrl>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>

#include <climits>

namespace window {

namespace {

const QString kNoFile = QStringLiteral("Please Select a File to Print");
const QString kRunInProgress = QStringLiteral(
    "A file is being printed. Wait until it is done, or press Cancel in its progress window, "
    "before printing again.");

}  // namespace

namespace {

// A file run's options as the window's boxes hold them at each line.
class WindowOptionsHost : public jobs::FileRunHost {
 public:
  explicit WindowOptionsHost(MainWindow& window) : window_(window) {}
  QString Pattern() override { return window_.linePatternBox->text(); }
  bool IncludePattern() override { return window_.includePatternCheck->Value() == 1; }
  bool PrintLines() override { return window_.printLineCheck->Value() == 1; }
  bool Columns() override { return window_.columnsCheck->Value() == 1; }

 protected:
  MainWindow& window_;
};

// The preview's run: each line drawn by the generator, nothing shown on the way.
class PreviewHost : public WindowOptionsHost {
 public:
  using WindowOptionsHost::WindowOptionsHost;
  jobs::Generated Generate(const QString& value) override {
    return jobs::Generate(window_.chosenSymbology(), value, window_.pictureOptions());
  }
  void LetEventsRun() override {}
  void Progress(qint64, qint64) override {}
  bool CancelRequested() override { return false; }
  void Refused(const jobs::RefusedLine&) override {}
};

}  // namespace

// The file run's view of the window: the options as they are at each line,
// the generate command through the text box, progress and cancelling.
class FileRunAdapter : public WindowOptionsHost {
 public:
  explicit FileRunAdapter(MainWindow& window) : WindowOptionsHost(window) { clock_.start(); }

  jobs::Generated Generate(const QString& value) override {
    // The change handler generates; an unchanged text keeps the last picture.
    window_.barcodeText->setText(value);
    return window_.finishedPicture();
  }
  void LetEventsRun() override { QCoreApplication::processEvents(); }
  bool CancelRequested() override { return window_.fileRunCancel_; }
  void Refused(const jobs::RefusedLine&) override {}  // listed in one message at the end

  // lines is -1 for a stream: its length is unknown.
  void Progress(qint64 line, qint64 lines) override {
    QProgressDialog*& dialog = window_.fileRunProgress_;
    if (!dialog) {
      dialog = new QProgressDialog(&window_);
      dialog->setWindowTitle(kWindowTitle);
      KeepTitleWhole(dialog);
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
  QElapsedTimer clock_;
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
  statusBar()->setFont(Client->font());
  statusLine_ = new QLabel(this);
  statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // However long a message, the line never widens the window: it is cut to fit.
  statusLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusLine_->installEventFilter(this);
  statusFolderLink_ = new QLabel(this);
  statusFolderLink_->setText(QStringLiteral("<a href=\"folder\">Open folder</a>"));
  statusFolderLink_->setVisible(false);
  OpenFolder = [](const QString& folder) { return QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };
  connect(statusFolderLink_, &QLabel::linkActivated, this, [this] {
    if (!OpenFolder(statusFolder_))
      ShowStatus(QStringLiteral("Could not open %1: no file manager answered").arg(statusFolder_));
  });
  statusBar()->addWidget(statusLine_, 1);
  statusBar()->addPermanentWidget(statusFolderLink_);
  statusBar()->setSizeGripEnabled(false);
}

QString MainWindow::StatusText() const { return statusText_; }

void MainWindow::ShowStatus(const QString& text, const QString& pdfPath) {
  const bool changed = text != statusText_;
  statusText_ = text;
  statusFolder_ = pdfPath.isEmpty() ? QString() : QFileInfo(pdfPath).absolutePath();
  statusFolderLink_->setVisible(!statusFolder_.isEmpty());
  ElideStatus();
  if (changed && qEnvironmentVariableIsSet("QUILLON_DEBUG"))
    std::fprintf(stderr, "quillon: status: %s\n", text.toLocal8Bit().constData());
}

void MainWindow::ElideStatus() {
  // Cut in the middle: a path keeps its start and its file name.
  const QString shown = statusLine_->fontMetrics().elidedText(statusText_, Qt::ElideMiddle, statusLine_->width());
  statusLine_->setText(shown);
  statusLine_->setToolTip(shown == statusText_ ? QString() : statusText_);
}

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
  using Problem = jobs::Printed::Problem;
  const jobs::Printed printed =
      jobs::PrintBarcode(services_.printers, finished_,
                         {printerBox->currentText(), leftOffsetBox->text(), topOffsetBox->text(),
                          QStringLiteral("Quillon - ") + barcodeText->text(), CurrentLabels()});
  if (printed.Sent()) {
    const QString warning = printed.warning.isEmpty() ? QString() : QStringLiteral(" ") + printed.warning;
    return ShowStatus(printed.message + warning, services_.printers.LastPdfPath());
  }
  ShowStatus(printed.problem == Problem::Failed ? printed.message
                                                 : QStringLiteral("Not printed: ") + printed.message.trimmed());
  services_.dialogs.Ok(printed.message, kWindowTitle);
  // A box that holds no number is set to 1 (its change saves it).
  if (printed.problem == Problem::LeftOffset) leftOffsetBox->setText(QStringLiteral("1"));
  if (printed.problem == Problem::TopOffset) topOffsetBox->setText(QStringLiteral("1"));
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
  lastFileRun_ = jobs::RunFile(FileRunPath(), printer, adapter, CurrentLabels());
  fileRunActive_ = false;
  if (fileRunProgress_) fileRunProgress_->hide();
  ReportFileRun();
}

QString MainWindow::FileRunPath() const {
  // "-" is standard input only for the command line: the window would wait
  // on a terminal nobody types into. Here it names a file called "-".
  return FilePath == QLatin1String("-") ? QStringLiteral("./-") : WithHomeFolder(FilePath);
}

jobs::FileRunResult MainWindow::PreviewFileRun(platform::Printers& printers) {
  PreviewHost host(*this);
  return jobs::RunFile(FileRunPath(), printers, host, CurrentLabels());
}

// The status line, and one message at the end: why nothing was printed, the
// refused lines.
void MainWindow::ReportFileRun() {
  using Status = jobs::FileRunResult::Status;
  const jobs::FileRunResult& run = lastFileRun_;
  const QString file = QFileInfo(FilePath).fileName();
  const QString place = jobs::JobPlace(services_.printers);
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
                                     .arg(place)
                               : QStringLiteral("%1 barcode(s) from %2 lines of %3 printed to %4")
                                     .arg(run.barcodes)
                                     .arg(run.lines)
                                     .arg(file, place),
                 run.pdfPath);
      break;
  }
  QStringList parts;
  if (!run.message.isEmpty()) parts << run.message;
  if (!run.labelWarning.isEmpty()) parts << run.labelWarning;
  if (run.refused > 0) {
    QString list = QStringLiteral("%1 of %2 matching lines gave no barcode:").arg(run.refused).arg(run.matching);
    for (const jobs::RefusedLine& r : run.firstRefused)
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

}  // namespace window
