#include "app/command_line.h"

#include "app/console_runs.h"

#include "window/main_window.h"
#include "platform/dialogs.h"
#include "platform/numbers.h"
#include "platform/output_file.h"
#include "jobs/export.h"
#include "window/message_boxes.h"
#include "platform/printers.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

void Err(const QString& text) { platform::PrintProblem(text); }
void Out(const QString& text) { std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData()); }
// The exit status of a form whose output is on stdout: a full disk or a
// closed pipe there is a failure too.
int Flushed() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return kOk;
  Err(QStringLiteral("cannot write to standard output: %1").arg(platform::OutputErrorText(errno)));
  return kFailed;
}

// Qt wants a private runtime folder and complains on stderr without one.
void EnsureRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(getuid());
  mkdir(dir.constData(), 0700);
  struct stat st {};
  if (stat(dir.constData(), &st) == 0 && st.st_uid == getuid() && (st.st_mode & 077) == 0)
    qputenv("XDG_RUNTIME_DIR", dir);
}

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) platform::PrintProblem(text);
}

bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

const char* const kUsageText =
    "Usage:\n"
    "  quillon                      the main window\n"
    "  quillon [FLAGS] [--] PATH    print the text file PATH (- for standard input) as\n"
    "                               \"Print File\" would, then end\n"
    "  quillon --export OUT [--symbology S] [--text-line | --no-text-line]\n"
    "          [--bar-height V] [--font-size V] [--width V] [--force] [--] TEXT\n"
    "                               write the barcode of TEXT to OUT: PNG, or SVG / PDF\n"
    "                               when OUT ends in .svg / .pdf; - writes PNG to stdout\n"
    "  quillon --range FROM TO [--pause S] [--printer NAME | --output DIR]\n"
    "          [--symbology S] [the other flags of --export] [--] PREFIX\n"
    "                               print PREFIX followed by each number from FROM up to,\n"
    "                               not including, TO (one job each; \"\" for no prefix);\n"
    "                               --output collects \"Save as PDF\" jobs in DIR\n"
    "  quillon --list-printers      the printers, the current one marked with *\n"
    "  quillon --help | --version\n"
    "\n"
    "Each flag overrides one saved option for this run only; nothing is saved.\n"
    "  --symbology S                code39, code128b, code128-1, code25, upc or ean\n"
    "  --pattern P                  print only the lines that start with P\n"
    "  --include-pattern, --no-include-pattern\n"
    "                               keep P as part of the barcode, or drop it\n"
    "  --columns, --no-columns      three barcodes to a row, or one\n"
    "  --print-line, --no-print-line\n"
    "                               print each line's text above its barcode, or not\n"
    "  --text-line, --no-text-line  the text under the bars, or not\n"
    "  --bar-height V               0.1 to 25 (40 pixels per unit)\n"
    "  --font-size V                1 to 144 points\n"
    "  --width V                    1 to 16000: the stretch of Code 128-1 and Code 2/5,\n"
    "                               in pixels per 800 drawn (800: unstretched)\n"
    "  --printer NAME               one of --list-printers\n"
    "  --output FILE.pdf            write the job to FILE.pdf (\"Save as PDF\")\n"
    "  --force                      replace an existing OUT or FILE.pdf\n"
    "Numbers are written as 12 or 1.5 (or with the locale's decimal comma), FROM\n"
    "and TO with a '-' where negative; no blanks, exponents or hex.\n"
    "\n"
    "A TEXT or PATH that starts with '-' follows a lone '--'; a file whose name\n"
    "starts with '--' may also be given as ./--name.\n"
    "\n"
    "Lines end at CR LF, CR or LF. A file that is valid UTF-8 is read as UTF-8,\n"
    "any other as Windows-1252. Pipes and standard input are read as they come.\n"
    "\n"
    "Exit status: 0 done (every matching line printed); 1 nothing could be\n"
    "written or printed (the reason on stderr); 2 usage error; 3 the job was\n"
    "sent but some lines were refused (each named on stderr); 128+N the run\n"
    "was ended by signal N (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP): the last line\n"
    "on stderr says what had been sent (the job or file) and up to which line\n"
    "or number.\n";

using window::MainWindow;

struct SymbologyName {
  const char* name;
  QRadioButton* MainWindow::*option;
};
constexpr SymbologyName kSymbologies[] = {
    {"code39", &MainWindow::code39Choice},   {"code128b", &MainWindow::code128BChoice}, {"code128-1", &MainWindow::code128PatternChoice},
    {"code25", &MainWindow::interleaved25Choice},   {"upc", &MainWindow::upcAChoice},      {"ean", &MainWindow::eanChoice},
};

// The on/off flags and the check box each sets.
struct SwitchFlag {
  const char* name;
  window::CheckBox* MainWindow::*box;
  bool exportToo;
};
constexpr SwitchFlag kSwitches[] = {
    {"include-pattern", &MainWindow::includePatternCheck, false},
    {"columns", &MainWindow::columnsCheck, false},
    {"print-line", &MainWindow::printLineCheck, false},
    {"text-line", &MainWindow::textLineCheck, true},
};

// The numeric flags, with the ranges the window keeps its boxes to.
struct NumberFlag {
  const char* name;
  QLineEdit* MainWindow::*box;
  double low, high;
};
constexpr NumberFlag kNumbers[] = {
    {"bar-height", &MainWindow::barHeightBox, 0.1, 25},
    {"font-size", &MainWindow::fontSizeBox, 1, 144},
    // The stretch: pixels for every 800 drawn. 0 would ask for bars of no
    // width (the window then draws 1 pixel per module); far above 16000 the
    // picture outgrows what a picture area holds.
    {"width", &MainWindow::stretchWidthBox, 1, 16000},
};

// The flags that only printing a file takes.
const char* const kPrintOnly[] = {"pattern", "printer", "output"};

// A plain decimal number: digits with at most one decimal point ('.' or the
// locale's decimal separator), a '-' in front only where signed. No blank,
// exponent, group separator, hex, inf or nan: whatever else a number parser
// would take is more likely a typo.
std::optional<double> PlainNumber(const QString& text, bool isSigned = false) {
  const QLocale locale;
  const QString point = locale.decimalPoint();
  QString t = text;
  const bool negative = isSigned && t.startsWith(QLatin1Char('-'));
  if (negative) t.remove(0, 1);
  if (point != QLatin1String(".")) t.replace(point, QLatin1String("."));
  static const QRegularExpression plain(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
  if (!plain.match(t).hasMatch()) return std::nullopt;
  bool ok = false;
  const double value = QLocale::c().toDouble(t, &ok);
  if (!ok) return std::nullopt;
  return negative ? -value : value;
}

// The saved options that one command line overrides.
struct Overrides {
  QRadioButton* MainWindow::*symbology = nullptr;
  std::optional<QString> pattern;
  std::vector<std::pair<window::CheckBox* MainWindow::*, int>> switches;
  std::vector<std::pair<QLineEdit* MainWindow::*, QString>> numbers;
  std::optional<QString> printer;
  QString output;  // the PDF file of the job
  bool force = false;
};

// Which form of the command line the flags belong to.
enum class Form { Export, PrintFile, Range };

// Reads the overriding flags: "" when they are usable, else the usage error.
QString ReadOverrides(const QCommandLineParser& parser, Form window, Overrides& o) {
  const bool exporting = window != Form::PrintFile;
  const auto set = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
  const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
  if (exporting) {
    for (const char* name : kPrintOnly)
      if (set(name) && (window == Form::Export || std::string_view(name) == "pattern"))
        return QStringLiteral("--%1 is for printing a file, not for --%2")
            .arg(QLatin1String(name), window == Form::Export ? QStringLiteral("export") : QStringLiteral("range"));
    for (const SwitchFlag& s : kSwitches)
      if (!s.exportToo && (set(s.name) || set(("no-" + std::string(s.name)).c_str())))
        return QStringLiteral("--%1 is for printing a file, not for --%2")
            .arg(QLatin1String(s.name), window == Form::Export ? QStringLiteral("export") : QStringLiteral("range"));
  }
  if (set("symbology")) {
    const QString s = value("symbology");
    for (const auto& sym : kSymbologies)
      if (s == QLatin1String(sym.name)) o.symbology = sym.option;
    if (!o.symbology)
      return QStringLiteral("unknown symbology \"%1\" (code39, code128b, code128-1, code25, upc, ean)").arg(s);
  }
  if (set("pattern")) o.pattern = value("pattern");
  for (const SwitchFlag& s : kSwitches) {
    const QString on = QLatin1String(s.name), off = QStringLiteral("no-") + on;
    if (parser.isSet(on) && parser.isSet(off)) return QStringLiteral("--%1 and --%2 exclude each other").arg(on, off);
    if (parser.isSet(on) || parser.isSet(off)) o.switches.emplace_back(s.box, parser.isSet(on) ? 1 : 0);
  }
  for (const NumberFlag& n : kNumbers) {
    if (!set(n.name)) continue;
    const QString text = value(n.name);
    const auto number = PlainNumber(text);
    if (!number || *number < n.low || *number > n.high)
      return QStringLiteral("--%1 \"%2\" is not a number from %3 to %4")
          .arg(QLatin1String(n.name), text, QString::number(n.low), QString::number(n.high));
    // Written as the window's boxes read numbers: in the locale, without
    // group separators ("1.125" is 1125 where '.' groups thousands).
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    o.numbers.emplace_back(n.box, locale.toString(*number, 'g', 15));
  }
  if (set("printer")) {
    const QStringList names = platform::PrinterNames();
    if (!names.contains(value("printer")))
      return QStringLiteral("unknown printer \"%1\"; the printers are: %2")
          .arg(value("printer"), names.join(QStringLiteral(", ")));
    o.printer = value("printer");
  }
  if (set("output") && window == Form::Range) {
    // A folder that collects one "Save as PDF" file per number.
    o.output = value("output");
    if (o.printer && *o.printer != platform::kSaveAsPdf)
      return QStringLiteral("--output collects \"%1\" files, not jobs for the printer \"%2\"")
          .arg(platform::kSaveAsPdf, *o.printer);
    o.printer = platform::kSaveAsPdf;
  } else if (set("output")) {
    o.output = value("output");
    if (!o.output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) && !platform::WrittenInPlace(o.output))
      return QStringLiteral("--output \"%1\": the name of the PDF file must end in .pdf").arg(o.output);
    if (o.printer && *o.printer != platform::kSaveAsPdf)
      return QStringLiteral("--output writes a PDF file (\"%1\"), not to the printer \"%2\"")
          .arg(platform::kSaveAsPdf, *o.printer);
    o.printer = platform::kSaveAsPdf;
  }
  o.force = set("force");
  return {};
}

// Puts the overrides into the window's controls, after the saved options.
void ApplyOverrides(MainWindow& window, const Overrides& o) {
  if (o.symbology) (window.*o.symbology)->setChecked(true);
  if (o.pattern) window.linePatternBox->setText(*o.pattern);
  for (const auto& [box, v] : o.switches) (window.*box)->SetValue(v);
  for (const auto& [box, text] : o.numbers) (window.*box)->setText(text);
  if (o.printer) window.printerBox->setEditText(*o.printer);
}

// A one-off run starts from the saved options and changes none of them: a
// store the window would reset is only reported.
bool RestoreWithoutSaving(MainWindow& window, const platform::SettingsStore& settings) {
  const QString settingsError = window.restoreSavedOptions();
  if (settingsError.isEmpty()) return true;
  Err(QStringLiteral("the saved options in %1 cannot be used: %2 (starting the window restores the defaults)")
          .arg(settings.FilePath(window::kApp), settingsError));
  return false;
}

int Export(const QCommandLineParser& parser) {
  const QString out = parser.value(QStringLiteral("export"));
  const QString text = parser.positionalArguments().join(QLatin1Char(' '));
  if (parser.positionalArguments().isEmpty()) {
    Err(QStringLiteral("--export needs the TEXT to encode"));
    return kUsage;
  }
  Overrides overrides;
  if (const QString usage = ReadOverrides(parser, Form::Export, overrides); !usage.isEmpty()) {
    Err(usage);
    return kUsage;
  }

  // "-" is standard output; /dev/stdout, a device or pipe is written as it is.
  if (!overrides.force && !platform::WrittenInPlace(out) && QFileInfo(out).isFile()) {
    Err(QStringLiteral("%1 exists already; use --force to replace it").arg(out));
    return kFailed;
  }

  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  settings.SetReadOnly(true);  // a one-off run changes no saved option
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  MainWindow window(services);
  if (!RestoreWithoutSaving(window, settings)) return kFailed;
  ApplyOverrides(window, overrides);
  {
    // Set the text without a run of its own: the bar height and font size
    // apply first, then "Bar Code" generates once and reports a refusal.
    const QSignalBlocker quiet(window.barcodeText);
    window.barcodeText->setText(text);
  }
  // The encoders' message boxes say less than the reason reported below.
  dialogs.Hold(true);
  window.applyBarSize();
  window.generate();
  dialogs.Hold(false);

  const jobs::Generated& picture = window.finishedPicture();
  if (!picture.Drawn()) {
    const QStringList why = window.LastProblem().isEmpty() ? dialogs.TakeHeld() : QStringList{window.LastProblem()};
    for (const QString& line : why) Err(line);
    if (why.isEmpty()) Err(QStringLiteral("nothing to draw for \"%1\"").arg(text));
    return kFailed;
  }
  for (const QString& message : dialogs.TakeHeld()) Err(message);
  const QString problem = jobs::WritePicture(
      picture, out, overrides.force ? platform::Replace::Allowed : platform::Replace::Never);
  if (!problem.isEmpty()) {
    Err(problem);
    return kFailed;
  }
  return kOk;
}

int ListPrinters() {
  const platform::Printers printers;
  for (const QString& name : printers.Names())
    Out((name == printers.CurrentName() ? QStringLiteral("* ") : QStringLiteral("  ")) + name);
  return Flushed();
}


// Under QUILLON_DEBUG, the moments of a launch on stderr (wall clock,
// nanoseconds), for bench/launch_time.sh.
void SayWhen(const char* what) {
  if (qEnvironmentVariableIsEmpty("QUILLON_DEBUG")) return;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  std::fprintf(stderr, "quillon: %s at %lld ns\n", what,
               static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

// Says when the window has been drawn for the first time.
class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // After the event loop's turn: the whole window is painted and flushed.
      QTimer::singleShot(0, [] { SayWhen("window drawn"); });
    }
    return false;
  }
};

// `quillon [FLAGS] PATH`: the file printed as "Print File" prints it, without
// the window being shown. Messages go to stderr; stdout gets the path of a
// PDF that "Save as PDF" wrote. Without flags the run is the window's
// start-up with a command line (the path is saved as the window's); with
// flags nothing is saved.
int PrintFileFromCommandLine(const QString& commandLine, const Overrides* overrides = nullptr) {
  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  MainWindow window(services);
  if (!overrides) {
    // The start-up of the window: the saved options, the printer list, and
    // the path taken over from the command line; then "Print File".
    if (window.start(commandLine) == MainWindow::LoadResult::Ended) return kFailed;
    return PrintFileCommand(window, commandLine);
  }
  settings.SetReadOnly(true);
  if (!RestoreWithoutSaving(window, settings)) return kFailed;
  ApplyOverrides(window, *overrides);
  if (!overrides->output.isEmpty()) {
    // Checked here as well as when the file is written: the run may be long.
    if (!overrides->force && !platform::WrittenInPlace(overrides->output) && QFileInfo::exists(overrides->output)) {
      Err(QStringLiteral("%1 exists already; use --force to replace it").arg(overrides->output));
      return kFailed;
    }
    printers.SetPdfFile(overrides->output, overrides->force ? platform::Replace::Allowed : platform::Replace::Never);
  }
  return PrintFileCommand(window, commandLine);
}

// Why FROM and TO cannot make a range ("" when they can): not plain
// numbers, beyond what the run counts exactly (a double's whole numbers, an
// int's count of numbers), or no number between them.
QString RangeProblem(const QString& fromText, const QString& toText) {
  constexpr double kLargest = 9007199254740992.0;  // 2^53: every whole number up to it is exact
  const auto from = PlainNumber(fromText, true), to = PlainNumber(toText, true);
  if (!from || !to)
    return QStringLiteral("--range needs plain numbers for FROM and TO (such as 8 or 1.5), not \"%1\" and \"%2\"")
        .arg(fromText, toText);
  if (std::abs(*from) > kLargest || std::abs(*to) > kLargest)
    return QStringLiteral("--range counts exactly only from -9007199254740992 to 9007199254740992, "
                          "not \"%1\" to \"%2\"")
        .arg(fromText, toText);
  if (!(*from < *to))
    return QStringLiteral("--range: FROM must be less than TO, not \"%1\" and \"%2\"").arg(fromText, toText);
  if (std::ceil(*to - *from) > INT_MAX)
    return QStringLiteral("--range prints at most %1 numbers in one run, not the %2 from \"%3\" to \"%4\"")
        .arg(INT_MAX)
        .arg(std::ceil(*to - *from), 0, 'f', 0)
        .arg(fromText, toText);
  return {};
}

// `quillon --range FROM TO [--pause S] [FLAGS] PREFIX`: "Run It" from the
// command line, one job per number, with the saved options and the flags.
int RangeRun(const QCommandLineParser& parser) {
  const QStringList rest = parser.positionalArguments();
  if (rest.size() != 2) {
    Err(QStringLiteral("--range needs FROM, TO and PREFIX (\"\" for none): --range FROM TO PREFIX"));
    return kUsage;
  }
  const QString from = parser.value(QStringLiteral("range"));
  const QString to = rest[0];
  if (const QString usage = RangeProblem(from, to); !usage.isEmpty()) {
    Err(usage);
    return kUsage;
  }
  double pause = 1;
  if (parser.isSet(QStringLiteral("pause"))) {
    const auto seconds = PlainNumber(parser.value(QStringLiteral("pause")));
    if (!seconds || *seconds > 3600) {
      Err(QStringLiteral("--pause \"%1\" is not a number of seconds from 0 to 3600")
              .arg(parser.value(QStringLiteral("pause"))));
      return kUsage;
    }
    pause = *seconds;
  }
  Overrides overrides;
  if (const QString usage = ReadOverrides(parser, Form::Range, overrides); !usage.isEmpty()) {
    Err(usage);
    return kUsage;
  }

  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  settings.SetReadOnly(true);  // a one-off run changes no saved option
  platform::Printers printers(overrides.output.isEmpty() ? platform::DefaultPdfFolder() : overrides.output);
  platform::Services services{dialogs, settings, printers};
  MainWindow window(services);
  if (!RestoreWithoutSaving(window, settings)) return kFailed;
  ApplyOverrides(window, overrides);
  window.RunPauseSeconds = pause;
  window.ProgressOnConsole = true;
  window.barcodeText->setText(rest[1]);
  window.rangeFromBox->setText(from);
  window.rangeToBox->setText(to);

  // A printer that cannot take the jobs, or a folder that cannot take the
  // files, is known before the first number.
  printers.SelectPrinter(window.printerBox->currentText());
  if (const QString problem = printers.DestinationProblem(); !problem.isEmpty()) {
    Err(problem);
    return kFailed;
  }
  RunInterruptibly(
      window, [&window] { window.CancelIncrementingRun(); }, [&window] { window.runRange(); });
  return RangeOutcome(window, printers);
}

int RunOptions(const QStringList& args) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const auto flag = [](const char* name) { return QCommandLineOption(QLatin1String(name)); };
  const auto valued = [](const char* name, const char* valueName) {
    return QCommandLineOption(QLatin1String(name), QString(), QLatin1String(valueName));
  };
  parser.addOptions({valued("export", "OUT"), valued("symbology", "S"), valued("pattern", "P"),
                     valued("bar-height", "V"), valued("font-size", "V"), valued("width", "V"),
                     valued("printer", "NAME"), valued("output", "FILE.pdf"), flag("force"),
                     valued("range", "FROM"), valued("pause", "S"),
                     flag("list-printers"), flag("help"), flag("version")});
  for (const SwitchFlag& s : kSwitches)
    parser.addOptions({flag(s.name), QCommandLineOption(QStringLiteral("no-") + QLatin1String(s.name))});
  if (!parser.parse(QStringList{QStringLiteral("quillon")} + args)) {
    Err(parser.errorText() + QStringLiteral(" (see --help)"));
    return kUsage;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(kUsageText, stdout);
    return Flushed();
  }
  if (parser.isSet(QStringLiteral("version"))) {
    Out(QStringLiteral("quillon " QUILLON_VERSION));
    return Flushed();
  }
  if (parser.isSet(QStringLiteral("list-printers"))) return ListPrinters();
  if (parser.isSet(QStringLiteral("export"))) return Export(parser);
  if (parser.isSet(QStringLiteral("range"))) return RangeRun(parser);
  const QString path = parser.positionalArguments().join(QLatin1Char(' ')).trimmed();
  if (path.isEmpty()) {
    Err(QStringLiteral("no file to print: give its PATH after the flags (see --help)"));
    return kUsage;
  }
  Overrides overrides;
  if (const QString usage = ReadOverrides(parser, Form::PrintFile, overrides); !usage.isEmpty()) {
    Err(usage);
    return kUsage;
  }
  return PrintFileFromCommandLine(path, &overrides);
}

}  // namespace

int Main(int argc, char** argv) {
  // Without HOME the settings and documents folders would be at the root.
  if (qEnvironmentVariableIsEmpty("HOME"))
    if (const QString home = platform::HomeFolder(); !home.isEmpty()) qputenv("HOME", QFile::encodeName(home));
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  bool optionForm = false;
  for (const QString& a : args) optionForm = optionForm || a.startsWith(QLatin1String("--"));
  // A command line of blanks only starts the window, like none.
  const bool windowForm = args.join(QLatin1Char(' ')).trimmed().isEmpty();
  const bool display = HasDisplay();

  if (!windowForm && !display) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (windowForm && !display) {
    Err(QStringLiteral("no display: the window needs one (DISPLAY or WAYLAND_DISPLAY). "
                       "Without one, use --export, --list-printers or a file path; see --help."));
    return kFailed;
  }
  // Qt's own warnings (missing fonts, platform plugins) would bury the one
  // line that says what happened.
  if (qEnvironmentVariableIsEmpty("QUILLON_DEBUG")) qInstallMessageHandler(QuietQtMessages);
  EnsureRuntimeDir();
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  if (windowForm) SayWhen("application started");
  QApplication::setApplicationName(QStringLiteral("Quillon"));
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

  if (optionForm) return RunOptions(args);
  if (!windowForm) return PrintFileFromCommandLine(args.join(QLatin1Char(' ')));

  window::MessageBoxes dialogs;
  platform::SettingsStore settings;
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  window::MainWindow window(services);
  // The window form has no command line, so the start-up ends here or shows
  // the window.
  if (window.start() == window::MainWindow::LoadResult::Ended) return kFailed;
  FirstPaint firstPaint;
  if (!qEnvironmentVariableIsEmpty("QUILLON_DEBUG")) window.installEventFilter(&firstPaint);
  window.show();
  return QApplication::exec();
}

}  // namespace app
