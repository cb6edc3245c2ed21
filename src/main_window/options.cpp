// The saved options of the main window: the handlers that write one key the
// moment their control changes, the start-up that reads them back, the
// Options menu (hide/show the settings panel, restore the defaults) and the
// settings error path.
#include "main_window/form1.h"

#include "file_chooser/form2.h"

#include "platform/numbers.h"
#include "platform/printers.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMenuBar>

#include <exception>
#include <iterator>
#include <optional>

namespace main_window {

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

Form1::~Form1() { Combo1->removeEventFilter(this); }

void Form1::BuildOptions() {
  // The panel can be hidden, shrinking the window below the inner area's
  // design size: the area is cut off, the controls stay where they are.
  Client->setMinimumSize(0, 0);
  resize(platform::TwipsToPixels(7440), platform::TwipsToPixels(6330) + menuBar()->sizeHint().height());

  for (QRadioButton* option : {Option1, Option2, Option4, Option5, Option8, Option9})
    connect(option, &QRadioButton::toggled, this, [this](bool selected) {
      if (selected) OptionClick();
    });
  connect(Check1, &QCheckBox::stateChanged, this, &Form1::Check1_Click);
  connect(Check2, &QCheckBox::stateChanged, this, &Form1::Check2_Click);
  connect(CheckPrintLine, &QCheckBox::stateChanged, this, &Form1::CheckPrintLine_Click);
  connect(Checkqq, &QCheckBox::stateChanged, this, &Form1::Checkqq_Click);
  connect(Text3, &QLineEdit::textChanged, this, &Form1::Text3_Change);
  connect(Text4, &QLineEdit::textChanged, this, &Form1::Text4_Change);
  connect(Text5, &QLineEdit::textChanged, this, &Form1::Text5_Change);
  connect(Text9, &QLineEdit::textChanged, this, &Form1::Text9_Change);
  connect(Text14, &QLineEdit::textChanged, this, &Form1::Text14_Change);
  connect(Text15, &QLineEdit::textChanged, this, &Form1::Text15_Change);
  Combo1->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  // The printer box is validated when the focus moves to another control of
  // the window; not when its own list pops up, nor when another window (a
  // message box) takes the focus.
  if (watched == Combo1 && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) Combo1_Validate();
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::SaveOption(const QString& key, const QString& value) {
  services_.settings.SaveSetting(kApp, kSection, key, value);
}

// --- Handlers that save one option -------------------------------------------

void Form1::OptionClick() {
  SaveOption(QStringLiteral("type1"), BooleanText(Option1->isChecked()));
  SaveOption(QStringLiteral("type2"), BooleanText(Option2->isChecked()));
  SaveOption(QStringLiteral("type4"), BooleanText(Option4->isChecked()));
  SaveOption(QStringLiteral("type5"), BooleanText(Option5->isChecked()));
  SaveOption(QStringLiteral("type8"), BooleanText(Option8->isChecked()));
  SaveOption(QStringLiteral("type9"), BooleanText(Option9->isChecked()));
}

void Form1::Check1_Click() { SaveOption(QStringLiteral("check1"), QString::number(Check1->Value())); }
void Form1::Check2_Click() { SaveOption(QStringLiteral("check2"), QString::number(Check2->Value())); }
void Form1::CheckPrintLine_Click() {
  SaveOption(QStringLiteral("CheckPrintLine"), QString::number(CheckPrintLine->Value()));
}
void Form1::Checkqq_Click() { SaveOption(QStringLiteral("Checkqq"), QString::number(Checkqq->Value())); }
void Form1::Text3_Change() { SaveOption(QStringLiteral("font"), Text3->text()); }
void Form1::Text4_Change() { SaveOption(QStringLiteral("line"), Text4->text()); }

void Form1::Text5_Change() {
  // The chooser's path box follows. A box is only set when its text differs:
  // so the two boxes do not loop, and the cursor of the one being typed in
  // stays where it is (setText moves it to the end).
  file_chooser::Form2* chooser = OpenChooser();
  if (chooser && chooser->Text2->text() != Text5->text()) chooser->Text2->setText(Text5->text());
  FilePath = Text5->text();
  SaveOption(QStringLiteral("file"), Text5->text());
}

void Form1::Text9_Change() { SaveOption(QStringLiteral("text9"), Text9->text()); }
void Form1::Text14_Change() { SaveOption(QStringLiteral("barcodeoffset14"), Text14->text()); }
void Form1::Text15_Change() { SaveOption(QStringLiteral("barcodeoffset15"), Text15->text()); }
void Form1::Combo1_Validate() { SaveOption(QStringLiteral("c1opt"), Combo1->currentText()); }

// --- Options menu --------------------------------------------------------------

void Form1::SetOuterHeightTwips(double twips) {
  // The outer height counts the title bar and borders too.
  const int frame = frameGeometry().height() - geometry().height();
  resize(width(), platform::TwipsToPixels(twips) - frame);
}

void Form1::Settings_Click() {
  if (Settings->text() == kHideSettings) {
    Settings->setText(kShowSettings);
    FrameOptions->setVisible(false);
    SetOuterHeightTwips(kHiddenHeightTwips);
    SaveOption(QStringLiteral("show"), QStringLiteral("0"));
  } else {
    Settings->setText(kHideSettings);
    FrameOptions->setVisible(true);
    SetOuterHeightTwips(kShownHeightTwips);
    SaveOption(QStringLiteral("show"), QStringLiteral("1"));
  }
}

void Form1::RestoreDefaults_Click() {
  if (!services_.dialogs.YesNo(QStringLiteral("Are you sure you want to restore default settings?"),
                               kWindowTitle))
    return;
  services_.settings.DeleteApplication(kApp);
  services_.dialogs.Ok(QStringLiteral("Quillon will now exit and should be restarted "), kWindowTitle);
  services_.dialogs.EndProgram(0);
}

void Form1::SettingsErrorPath(const QString& description) {
  // Deleted first, so that the message can say whether it worked: a store
  // that cannot be changed would give the same error at the next start.
  const QString restored = services_.settings.DeleteApplication(kApp)
                               ? kSettingsErrorText
                               : kSettingsNotRestoredText.arg(services_.settings.FilePath(kApp));
  services_.dialogs.Ok(description + QStringLiteral("\r\n\r\n") + restored, kWindowTitle);
  services_.dialogs.EndProgram(1);
}

// --- Start-up ------------------------------------------------------------------

void Form1::SetOptionValue(QRadioButton* option, bool value) {
  if (value) {
    // Selecting clears the others of the group; the click handler runs even
    // when the button was selected already.
    if (option->isChecked())
      OptionClick();
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

void Form1::StartupOptions() {
  const auto get = [this](const QString& key, const QString& defaultValue) {
    return services_.settings.GetSetting(kApp, kSection, key, defaultValue);
  };
  const auto note = [this](const QString& description) {
    if (startupError_.isEmpty()) startupError_ = description;
  };

  if (get(QStringLiteral("show"), {}) == QLatin1String("0")) Settings_Click();

  const struct {
    QRadioButton* option;
    const char* key;
    const char* defaultValue;
  } options[] = {{Option1, "type1", "1"}, {Option2, "type2", "0"}, {Option4, "type4", "0"},
                 {Option5, "type5", "0"}, {Option8, "type8", "0"}, {Option9, "type9", "0"}};
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
  const auto setCheck = [&](platform::CheckBox* box, const QString& key, const QString& defaultValue) {
    const QString stored = get(key, defaultValue);
    const auto number = platform::ParseNumber(stored);
    if (!number) return note(Describe(QStringLiteral("Type mismatch"), key, stored));
    const auto whole = platform::ToInt16(*number);
    if (!whole) return note(Describe(QStringLiteral("Overflow"), key, stored));
    if (*whole < 0 || *whole > 2) return note(Describe(QStringLiteral("Invalid property value"), key, stored));
    box->SetValue(*whole);
  };
  setCheck(Checkqq, QStringLiteral("Checkqq"), QString::number(Checkqq->Value()));
  Text4->setText(get(QStringLiteral("line"), {}));
  Text5->setText(get(QStringLiteral("file"), {}));
  Text8->setText(get(QStringLiteral("text8"), QStringLiteral("1.4")));
  Text3->setText(get(QStringLiteral("font"), QStringLiteral("8")));
  setCheck(Check1, QStringLiteral("check1"), QStringLiteral("0"));
  setCheck(Check2, QStringLiteral("check2"), QStringLiteral("0"));
  Text14->setText(get(QStringLiteral("barcodeoffset14"), QStringLiteral("1")));
  Text15->setText(get(QStringLiteral("barcodeoffset15"), QStringLiteral("1")));
  // "CheckPrintLine" is saved but never read: the box starts unticked.
}

QString Form1::RestoreOptions() {
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
  step([this] { StartupOptions(); });
  step([this] { FillPrinterList(); });
  step([this] { Text9->setText(services_.settings.GetSetting(kApp, kSection, QStringLiteral("text9"),
                                                            QStringLiteral("500"))); });
  return startupError_;
}

Form1::LoadResult Form1::Form_Load(const QString& commandLine) {
  const QString error = RestoreOptions();
  if (!error.isEmpty()) {
    SettingsErrorPath(error);
    return LoadResult::Ended;
  }
  const QString path = commandLine.trimmed();
  if (path.isEmpty()) return LoadResult::ShowWindow;
  FilePath = path;
  Text5->setText(path);  // saved as "file" by its change handler
  return LoadResult::PrintCommandLineFile;
}

}  // namespace main_window
