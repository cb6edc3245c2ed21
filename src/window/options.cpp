// The saved options of the main window: the handlers that write one key the
// moment their control changes, the start-up that reads them back, the
// Options menu (hide/show the settings panel, restore the defaults) and the
// settings error path.
#include "window/main_window.h"

#include "window/file_chooser.h"

#include "jobs/options.h"
#include "platform/printers.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>

#include <exception>
#include <iterator>
#include <optional>

namespace window {

namespace {

const QString kHideSettings = QStringLiteral("&Hide Settings");
const QString kShowSettings = QStringLiteral("&Show Settings");
// The controls' height with the panel hidden (the upper part, down to where
// the panel starts) and shown (all of them).
constexpr double kHiddenContentTwips = 2640;
constexpr double kShownContentTwips = 6330;

QString BooleanText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

MainWindow::~MainWindow() {
  printerBox->removeEventFilter(this);
  statusLine_->removeEventFilter(this);
}

void MainWindow::BuildOptions() {
  FitToContent();

  // Tab reaches the symbology group on its selected choice only.
  for (QRadioButton* option : {code128BChoice, code39Choice, code128PatternChoice, interleaved25Choice, upcAChoice, eanChoice}) {
    option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    connect(option, &QRadioButton::toggled, this, [this, option](bool selected) {
      option->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
      if (selected) onSymbologyChosen();
    });
  }
  connect(includePatternCheck, &QCheckBox::stateChanged, this, &MainWindow::onIncludePatternClicked);
  connect(textLineCheck, &QCheckBox::stateChanged, this, &MainWindow::onTextLineClicked);
  connect(printLineCheck, &QCheckBox::stateChanged, this, &MainWindow::onPrintLineClicked);
  connect(columnsCheck, &QCheckBox::stateChanged, this, &MainWindow::onColumnsClicked);
  connect(fontSizeBox, &QLineEdit::textChanged, this, &MainWindow::onFontSizeChanged);
  connect(linePatternBox, &QLineEdit::textChanged, this, &MainWindow::onLinePatternChanged);
  connect(filePathBox, &QLineEdit::textChanged, this, &MainWindow::onFilePathChanged);
  connect(stretchWidthBox, &QLineEdit::textChanged, this, &MainWindow::onStretchWidthChanged);
  connect(leftOffsetBox, &QLineEdit::textChanged, this, &MainWindow::onLeftOffsetChanged);
  connect(topOffsetBox, &QLineEdit::textChanged, this, &MainWindow::onTopOffsetChanged);
  printerBox->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The status line cuts its message to its new width.
  if (watched == statusLine_ && event->type() == QEvent::Resize) ElideStatus();
  // The printer box is validated when the focus moves to another control of
  // the window; not when its own list pops up, nor when another window (a
  // message box) takes the focus.
  if (watched == printerBox && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) onPrinterChosen();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SaveOption(const QString& key, const QString& value) {
  services_.settings.SaveSetting(kApp, kSection, key, value);
}

// --- Handlers that save one option -------------------------------------------

void MainWindow::onSymbologyChosen() {
  for (const jobs::SymbologyKey& k : jobs::kSymbologyKeys)
    SaveOption(QLatin1String(k.key), BooleanText(choices_.at(k.symbology)->isChecked()));
}

void MainWindow::onIncludePatternClicked() { SaveOption(QStringLiteral("check1"), QString::number(includePatternCheck->Value())); }
void MainWindow::onTextLineClicked() { SaveOption(QStringLiteral("check2"), QString::number(textLineCheck->Value())); }
void MainWindow::onPrintLineClicked() {
  SaveOption(QStringLiteral("CheckPrintLine"), QString::number(printLineCheck->Value()));
}
void MainWindow::onColumnsClicked() { SaveOption(QStringLiteral("Checkqq"), QString::number(columnsCheck->Value())); }
void MainWindow::onFontSizeChanged() { SaveOption(QStringLiteral("font"), fontSizeBox->text()); }
void MainWindow::onLinePatternChanged() { SaveOption(QStringLiteral("line"), linePatternBox->text()); }

void MainWindow::onFilePathChanged() {
  // The chooser's path box follows. A box is only set when its text differs:
  // so the two boxes do not loop, and the cursor of the one being typed in
  // stays where it is (setText moves it to the end).
  window::FileChooser* chooser = OpenChooser();
  if (chooser && chooser->pathBox->text() != filePathBox->text()) chooser->pathBox->setText(filePathBox->text());
  FilePath = filePathBox->text();
  // The chooser's path is saved only when its OK takes it.
  if (pathFromChooser_) return;
  pathBeforeChooser_ = filePathBox->text();
  SaveOption(QStringLiteral("file"), filePathBox->text());
}

void MainWindow::onStretchWidthChanged() { SaveOption(QStringLiteral("text9"), stretchWidthBox->text()); }
void MainWindow::onLeftOffsetChanged() { SaveOption(QStringLiteral("barcodeoffset14"), leftOffsetBox->text()); }
void MainWindow::onTopOffsetChanged() { SaveOption(QStringLiteral("barcodeoffset15"), topOffsetBox->text()); }
void MainWindow::onPrinterChosen() { SaveOption(QStringLiteral("c1opt"), printerBox->currentText()); }

// --- Options menu --------------------------------------------------------------

void MainWindow::SetContentHeightTwips(double twips) {
  // Hiding the panel cuts the controls off below its top, so that nothing
  // scrolls to where it was; the controls stay where they are.
  Client->setFixedHeight(window::TwipsToPixels(twips));
  FitToContent();
}

void MainWindow::FitToContent() {
  QSize want = Client->size() + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  const QScreen* shownOn = screen();
  if (!shownOn) return resize(want);
  // The title bar and borders: as the window manager drew them, or before
  // the window is shown, as the style would.
  QSize frame = frameGeometry().size() - geometry().size();
  if (frame.isNull() && !isVisible()) {
    const int border = 2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    frame = QSize(border, border + style()->pixelMetric(QStyle::PM_TitleBarHeight));
  }
  const QSize room = shownOn->availableGeometry().size() - frame;
  // What does not fit scrolls, and its scroll bar takes room of its own.
  if (want.width() > room.width()) want.rheight() += clientView->horizontalScrollBar()->sizeHint().height();
  if (want.height() > room.height()) want.rwidth() += clientView->verticalScrollBar()->sizeHint().width();
  resize(want.boundedTo(room));
}

void MainWindow::toggleSettingsPanel() {
  if (settingsAction->text() == kHideSettings) {
    settingsAction->setText(kShowSettings);
    settingsPanel->setVisible(false);
    SetContentHeightTwips(kHiddenContentTwips);
    SaveOption(QStringLiteral("show"), QStringLiteral("0"));
  } else {
    settingsAction->setText(kHideSettings);
    settingsPanel->setVisible(true);
    SetContentHeightTwips(kShownContentTwips);
    SaveOption(QStringLiteral("show"), QStringLiteral("1"));
  }
}

void MainWindow::restoreDefaults() {
  if (!services_.dialogs.YesNo(QStringLiteral("Are you sure you want to restore default settings?"),
                               kWindowTitle))
    return;
  services_.settings.DeleteApplication(kApp);
  services_.dialogs.Ok(QStringLiteral("Quillon will now exit and should be restarted "), kWindowTitle);
  services_.dialogs.EndProgram(0);
}

void MainWindow::SettingsErrorPath(const QString& description) {
  services_.dialogs.Ok(jobs::ResetOptions(services_.settings, description), kWindowTitle);
  services_.dialogs.EndProgram(1);
}

// --- Start-up ------------------------------------------------------------------

void MainWindow::SetOptionValue(QRadioButton* option, bool value) {
  if (value) {
    // Selecting clears the others of the group; the click handler runs even
    // when the button was selected already.
    if (option->isChecked())
      onSymbologyChosen();
    else
      option->setChecked(true);  // runs onSymbologyChosen through toggled
  } else if (option->isChecked()) {
    // Unlike a click, a stored False may leave no button of the group
    // selected (the generate command then draws Code 39).
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
  }
}

void MainWindow::restoreOptions() {
  const jobs::StoredOptions stored = jobs::ReadOptions(services_.settings);
  if (startupError_.isEmpty()) startupError_ = stored.error;
  const jobs::Options& o = stored.options;
  if (!o.settingsShown) toggleSettingsPanel();
  if (o.symbology) {
    SetOptionValue(choices_.at(*o.symbology), true);
  } else {
    for (const auto& [symbology, choice] : choices_) SetOptionValue(choice, false);
  }
  // Each control set saves its value back through its change handler.
  columnsCheck->SetValue(o.columns);
  linePatternBox->setText(o.linePattern);
  filePathBox->setText(o.filePath);
  barHeightBox->setText(o.barHeight);
  fontSizeBox->setText(o.fontSize);
  includePatternCheck->SetValue(o.includePattern);
  textLineCheck->SetValue(o.textLine);
  leftOffsetBox->setText(o.leftOffset);
  topOffsetBox->setText(o.topOffset);
  // "CheckPrintLine" is saved but never read: the box starts unticked.
}

QString MainWindow::restoreSavedOptions() {
  startupError_.clear();
  // An error in one step is noted and the next step still runs.
  const auto step = [this](auto&& run) {
    try {
      run();
    } catch (const std::exception& e) {
      if (startupError_.isEmpty()) startupError_ = QString::fromLocal8Bit(e.what());
    }
  };
  // A store that is not one (far too large) is not read at all.
  if (const QString problem = services_.settings.Problem(kApp); !problem.isEmpty()) return problem;
  step([this] { restoreOptions(); });
  step([this] { FillPrinterList(); });
  step([this] { stretchWidthBox->setText(services_.settings.GetSetting(kApp, kSection, QStringLiteral("text9"),
                                                            QStringLiteral("500"))); });
  // The saved font size applies to the Code 39 text line from the start, also
  // when the saved bar height equals the initial one (no change applied it).
  step([this] { applyFontSize(); });
  return startupError_;
}

bool MainWindow::start() {
  const QString error = restoreSavedOptions();
  if (error.isEmpty()) return true;
  SettingsErrorPath(error);
  return false;
}

}  // namespace window
