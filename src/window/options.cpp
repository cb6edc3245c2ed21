// The saved options of the main window: the handlers that write one key the
// moment their control changes, the start-up that reads them back, the
// Options menu (hide/show the settings panel, restore the defaults) and the
// settings error path.
#include "window/main_window.h"

#include "window/file_chooser.h"

#include "platform/numbers.h"
#include "platform/printers.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMenuBar>
#include <QStatusBar>

#include <exception>
#include <iterator>
#include <optional>

namespace window {

namespace {

const QString kHideSettings = QStringLiteral("&Hide Settings");
const QString kShowSettings = QStringLiteral("&Show Settings");
constexpr double kHiddenHeightTwips = 3400;
constexpr double kShownHeightTwips = 5850;

QString BooleanText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

// A stored symbology value as a boolean: "True" or "False" in any case, or a
// number (anything but 0 is true). Empty when it is neither.
std::optional<bool> ToBoolean(const QString& stored) {
  const QString t = stored.trimmed();
  if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
  if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
  if (const auto n = platform::ParseNumber(t)) return *n != 0;
  return std::nullopt;
}

QString Describe(const QString& what, const QString& key, const QString& stored) {
  return QStringLiteral("%1: the option \"%2\" holds \"%3\"").arg(what, key, stored);
}

}  // namespace

MainWindow::~MainWindow() { printerBox->removeEventFilter(this); }

void MainWindow::BuildOptions() {
  // The panel can be hidden, shrinking the window below the inner area's
  // design size: the area is cut off, the controls stay where they are.
  Client->setMinimumSize(0, 0);
  resize(window::TwipsToPixels(7440),
         window::TwipsToPixels(6330) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());

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
  SaveOption(QStringLiteral("type1"), BooleanText(code128BChoice->isChecked()));
  SaveOption(QStringLiteral("type2"), BooleanText(code39Choice->isChecked()));
  SaveOption(QStringLiteral("type4"), BooleanText(code128PatternChoice->isChecked()));
  SaveOption(QStringLiteral("type5"), BooleanText(interleaved25Choice->isChecked()));
  SaveOption(QStringLiteral("type8"), BooleanText(upcAChoice->isChecked()));
  SaveOption(QStringLiteral("type9"), BooleanText(eanChoice->isChecked()));
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
  SaveOption(QStringLiteral("file"), filePathBox->text());
}

void MainWindow::onStretchWidthChanged() { SaveOption(QStringLiteral("text9"), stretchWidthBox->text()); }
void MainWindow::onLeftOffsetChanged() { SaveOption(QStringLiteral("barcodeoffset14"), leftOffsetBox->text()); }
void MainWindow::onTopOffsetChanged() { SaveOption(QStringLiteral("barcodeoffset15"), topOffsetBox->text()); }
void MainWindow::onPrinterChosen() { SaveOption(QStringLiteral("c1opt"), printerBox->currentText()); }

// --- Options menu --------------------------------------------------------------

void MainWindow::SetOuterHeightTwips(double twips) {
  // The outer height counts the title bar and borders too.
  const int frame = frameGeometry().height() - geometry().height();
  resize(width(), window::TwipsToPixels(twips) - frame);
}

void MainWindow::toggleSettingsPanel() {
  if (settingsAction->text() == kHideSettings) {
    settingsAction->setText(kShowSettings);
    settingsPanel->setVisible(false);
    SetOuterHeightTwips(kHiddenHeightTwips);
    SaveOption(QStringLiteral("show"), QStringLiteral("0"));
  } else {
    settingsAction->setText(kHideSettings);
    settingsPanel->setVisible(true);
    SetOuterHeightTwips(kShownHeightTwips);
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
  // Deleted first, so that the message can say whether it worked: a store
  // that cannot be changed would give the same error at the next start.
  const QString restored = services_.settings.DeleteApplication(kApp)
                               ? kSettingsErrorText
                               : kSettingsNotRestoredText.arg(services_.settings.FilePath(kApp));
  services_.dialogs.Ok(description + QStringLiteral("\r\n\r\n") + restored, kWindowTitle);
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
      option->setChecked(true);  // runs OptionClick through toggled
  } else if (option->isChecked()) {
    // Unlike a click, a stored False may leave no button of the group
    // selected (the generate command then draws Code 39).
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
  }
}

void MainWindow::restoreOptions() {
  const auto get = [this](const QString& key, const QString& defaultValue) {
    return services_.settings.GetSetting(kApp, kSection, key, defaultValue);
  };
  const auto note = [this](const QString& description) {
    if (startupError_.isEmpty()) startupError_ = description;
  };

  if (get(QStringLiteral("show"), {}) == QLatin1String("0")) toggleSettingsPanel();

  const struct {
    QRadioButton* option;
    const char* key;
    const char* defaultValue;
  } options[] = {{code128BChoice, "type1", "1"}, {code39Choice, "type2", "0"}, {code128PatternChoice, "type4", "0"},
                 {interleaved25Choice, "type5", "0"}, {upcAChoice, "type8", "0"}, {eanChoice, "type9", "0"}};
  // All six are read before any is set: selecting a button rewrites all six
  // keys, which would hide a bad value further down the list. Once a button
  // is selected, the later keys hold what that rewrite left (False), so they
  // are only checked, not applied: the first True wins.
  QString storedTypes[std::size(options)];
  for (size_t i = 0; i < std::size(options); ++i)
    storedTypes[i] = get(QString::fromLatin1(options[i].key), QString::fromLatin1(options[i].defaultValue));
  bool selected = false;
  for (size_t i = 0; i < std::size(options); ++i) {
    const auto value = ToBoolean(storedTypes[i]);
    if (!value) {
      note(Describe(QStringLiteral("Type mismatch"), QString::fromLatin1(options[i].key), storedTypes[i]));
    } else if (!selected) {
      SetOptionValue(options[i].option, *value);
      selected = *value;
    }
  }

  // A check value: a whole 16-bit number (fractions rounded half to even)
  // that a check box can hold, 0 to 2.
  const auto setCheck = [&](window::CheckBox* box, const QString& key, const QString& defaultValue) {
    const QString stored = get(key, defaultValue);
    const auto number = platform::ParseNumber(stored);
    if (!number) return note(Describe(QStringLiteral("Type mismatch"), key, stored));
    const auto whole = platform::ToInt16(*number);
    if (!whole) return note(Describe(QStringLiteral("Overflow"), key, stored));
    if (*whole < 0 || *whole > 2) return note(Describe(QStringLiteral("Invalid property value"), key, stored));
    box->SetValue(*whole);
  };
  setCheck(columnsCheck, QStringLiteral("Checkqq"), QString::number(columnsCheck->Value()));
  linePatternBox->setText(get(QStringLiteral("line"), {}));
  filePathBox->setText(get(QStringLiteral("file"), {}));
  barHeightBox->setText(get(QStringLiteral("text8"), QStringLiteral("1.4")));
  fontSizeBox->setText(get(QStringLiteral("font"), QStringLiteral("8")));
  setCheck(includePatternCheck, QStringLiteral("check1"), QStringLiteral("0"));
  setCheck(textLineCheck, QStringLiteral("check2"), QStringLiteral("0"));
  leftOffsetBox->setText(get(QStringLiteral("barcodeoffset14"), QStringLiteral("1")));
  topOffsetBox->setText(get(QStringLiteral("barcodeoffset15"), QStringLiteral("1")));
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
  const QString storeProblem = services_.settings.Problem(kApp);
  if (!storeProblem.isEmpty()) return storeProblem;
  step([this] { restoreOptions(); });
  step([this] { FillPrinterList(); });
  step([this] { stretchWidthBox->setText(services_.settings.GetSetting(kApp, kSection, QStringLiteral("text9"),
                                                            QStringLiteral("500"))); });
  // The bar height and font size apply from the start, also when the saved
  // height equals the initial one (no change ran reSizeimage).
  step([this] { applyFontSize(); });
  return startupError_;
}

MainWindow::LoadResult MainWindow::start(const QString& commandLine) {
  const QString error = restoreSavedOptions();
  if (!error.isEmpty()) {
    SettingsErrorPath(error);
    return LoadResult::Ended;
  }
  const QString path = commandLine.trimmed();
  if (path.isEmpty()) return LoadResult::ShowWindow;
  FilePath = path;
  filePathBox->setText(path);  // saved as "file" by its change handler
  return LoadResult::PrintCommandLineFile;
}

}  // namespace window
