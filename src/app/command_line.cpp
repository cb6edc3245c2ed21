#include "app/command_line.h"

#include "main_window/form1.h"
#include "platform/dialogs.h"
#include "platform/printers.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImageWriter>
#include <QTimer>

#include <QDir>

#include <csignal>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace app {

namespace {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

void Err(const QString& text) { std::fprintf(stderr, "quillon: %s\n", text.toLocal8Bit().constData()); }
void Out(const QString& text) { std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData()); }

// Qt wants a private runtime folder and complains on stderr without one.
void EnsureRuntimeDir() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(getuid());
  mkdir(dir.constData(), 0700);
  struct stat st {};
  if (stat(dir.constData(), &st) == 0 && st.st_uid == getuid() && (st.st_mode & 077) == 0)
    qputenv("XDG_RUNTIME_DIR", dir);
}

bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

const char* const kUsageText =
    "Usage:\n"
    "  quillon                      the main window\n"
    "  quillon PATH                 print the text file PATH as \"Print File\" would, then end\n"
    "  quillon --export OUT.png [--symbology S] [--text-line | --no-text-line]\n"
    "          [--bar-height V] [--font-size V] [--width V] [--] TEXT\n"
    "                               write the barcode of TEXT to OUT.png (saved options,\n"
    "                               each flag overriding one for this run only)\n"
    "  quillon --list-printers      the printers, the current one marked with *\n"
    "  quillon --help | --version\n"
    "\n"
    "S is one of code39, code128b, code128-1, code25, upc, ean.\n"
    "A TEXT that starts with '-' follows a lone '--'; a file whose name starts\n"
    "with '--' is given as ./--name.\n";

struct SymbologyName {
  const char* name;
  QRadioButton* main_window::Form1::*option;
};
constexpr SymbologyName kSymbologies[] = {
    {"code39", &main_window::Form1::Option2},   {"code128b", &main_window::Form1::Option1},
    {"code128-1", &main_window::Form1::Option4}, {"code25", &main_window::Form1::Option5},
    {"upc", &main_window::Form1::Option8},       {"ean", &main_window::Form1::Option9},
};

int Export(const QCommandLineParser& parser) {
  const QString out = parser.value(QStringLiteral("export"));
  const QString text = parser.positionalArguments().join(QLatin1Char(' '));
  if (parser.positionalArguments().isEmpty()) {
    Err(QStringLiteral("--export needs the TEXT to encode"));
    return kUsage;
  }
  if (parser.isSet(QStringLiteral("text-line")) && parser.isSet(QStringLiteral("no-text-line"))) {
    Err(QStringLiteral("--text-line and --no-text-line exclude each other"));
    return kUsage;
  }
  QRadioButton* main_window::Form1::*option = nullptr;
  if (parser.isSet(QStringLiteral("symbology"))) {
    const QString s = parser.value(QStringLiteral("symbology"));
    for (const auto& sym : kSymbologies)
      if (s == QLatin1String(sym.name)) option = sym.option;
    if (!option) {
      Err(QStringLiteral("unknown symbology \"%1\" (code39, code128b, code128-1, code25, upc, ean)").arg(s));
      return kUsage;
    }
  }

  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  settings.SetReadOnly(true);  // a one-off run changes no saved option
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  main_window::Form1 form(services);
  // The saved options first, as the window would start with them; the flags
  // then override them for this run. A store the window would reset is left
  // alone here: this run only reports it.
  const QString settingsError = form.RestoreOptions();
  if (!settingsError.isEmpty()) {
    Err(QStringLiteral("the saved options in %1 cannot be used: %2 (starting the window restores the defaults)")
            .arg(settings.FilePath(main_window::kApp), settingsError));
    return kFailed;
  }

  if (option) (form.*option)->setChecked(true);
  if (parser.isSet(QStringLiteral("text-line"))) form.Check2->SetValue(1);
  if (parser.isSet(QStringLiteral("no-text-line"))) form.Check2->SetValue(0);
  if (parser.isSet(QStringLiteral("font-size"))) form.Text3->setText(parser.value(QStringLiteral("font-size")));
  if (parser.isSet(QStringLiteral("width"))) form.Text9->setText(parser.value(QStringLiteral("width")));
  if (parser.isSet(QStringLiteral("bar-height")))
    form.Text8->setText(parser.value(QStringLiteral("bar-height")));
  {
    // Set the text without a run of its own: reSizeimage below applies the bar
    // height and font size and generates once.
    const QSignalBlocker quiet(form.Text1);
    form.Text1->setText(text);
  }
  form.reSizeimage();

  const QImage picture = form.FinishedPicture();
  if (picture.isNull()) {
    const QString why = form.LastProblem();
    Err(why.isEmpty() ? QStringLiteral("nothing to draw for \"%1\"").arg(text) : why);
    return kFailed;
  }
  QImageWriter writer(out, "png");
  if (!writer.write(picture)) {
    Err(QStringLiteral("cannot write %1: %2").arg(out, writer.errorString()));
    return kFailed;
  }
  return kOk;
}

int ListPrinters() {
  const platform::Printers printers;
  for (const QString& name : printers.Names())
    Out((name == printers.CurrentName() ? QStringLiteral("* ") : QStringLiteral("  ")) + name);
  return kOk;
}

// Ctrl+C, a hang-up or a termination request during a file run stops it
// after the current line; the lines before still go out as one job.
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) { interrupted = 1; }

}  // namespace

int PrintFileCommand(main_window::Form1& form, const QString& commandLine) {
  form.ProgressOnConsole = true;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, &form, [&form] {
    if (interrupted) form.CancelFileRun();
  });
  watch.start(100);
  interrupted = 0;
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  std::signal(SIGHUP, OnInterrupt);
  form.PrintCommandLineFile(commandLine);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);

  const platform::Printers& printers = form.CurrentPrinter();
  const printing::FileRunResult& run = form.LastFileRun();
  const QString path = form.FilePath;
  using Status = printing::FileRunResult::Status;
  switch (run.status) {
    case Status::CannotOpen:
    case Status::PrinterFailed:
      return kFailed;  // the message is out already
    case Status::NothingPrinted:
      if (run.cancelled) {
        Err(QStringLiteral("cancelled before anything was printed"));
        return kFailed;
      }
      Err(QStringLiteral("no line of %1 gave a barcode or text to print; nothing was sent").arg(path));
      return kOk;
    case Status::Sent:
      break;
  }
  const QString where = run.pdfPath.isEmpty()
                            ? QStringLiteral("sent to the printer \"%1\" as job %2")
                                  .arg(printers.CurrentName(), printers.LastJobId())
                            : QStringLiteral("saved as %1 (\"%2\")").arg(run.pdfPath, platform::kSaveAsPdf);
  if (run.cancelled) {
    Err(QStringLiteral("cancelled after line %1; the %2 barcode(s) before it were %3")
            .arg(run.lines)
            .arg(run.barcodes)
            .arg(where));
    return kFailed;
  }
  Err(QStringLiteral("%1 barcode(s) from %2 lines of %3 %4").arg(run.barcodes).arg(run.lines).arg(path, where));
  return kOk;
}

namespace {

// `quillon PATH`: the file printed as "Print File" prints it, without the
// window being shown. Messages go to stderr; stdout gets the path of a PDF
// that "Save as PDF" wrote.
int PrintFileFromCommandLine(const QString& commandLine) {
  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  main_window::Form1 form(services);
  // The start-up of the window: the saved options, the printer list, and the
  // path taken over from the command line; then "Print File".
  if (form.Form_Load(commandLine) == main_window::Form1::LoadResult::Ended) return kFailed;
  return PrintFileCommand(form, commandLine);
}

int RunOptions(const QStringList& args) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions({
      {QStringLiteral("export"), QStringLiteral("Write the barcode of TEXT to OUT."), QStringLiteral("OUT.png")},
      {QStringLiteral("symbology"), QStringLiteral("Symbology for --export."), QStringLiteral("S")},
      {QStringLiteral("text-line"), QStringLiteral("Print the text under the bars.")},
      {QStringLiteral("no-text-line"), QStringLiteral("No text under the bars.")},
      {QStringLiteral("bar-height"), QStringLiteral("Bar height value."), QStringLiteral("V")},
      {QStringLiteral("font-size"), QStringLiteral("Font size in points."), QStringLiteral("V")},
      {QStringLiteral("width"), QStringLiteral("Stretch width in pixels."), QStringLiteral("V")},
      {QStringLiteral("list-printers"), QStringLiteral("List the printers.")},
      {QStringLiteral("help"), QStringLiteral("Show this help.")},
      {QStringLiteral("version"), QStringLiteral("Show the version.")},
  });
  if (!parser.parse(QStringList{QStringLiteral("quillon")} + args)) {
    Err(parser.errorText());
    std::fputs(kUsageText, stderr);
    return kUsage;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(kUsageText, stdout);
    return kOk;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    Out(QStringLiteral("quillon " QUILLON_VERSION));
    return kOk;
  }
  if (parser.isSet(QStringLiteral("list-printers"))) return ListPrinters();
  if (parser.isSet(QStringLiteral("export"))) return Export(parser);
  Err(QStringLiteral("nothing to do"));
  std::fputs(kUsageText, stderr);
  return kUsage;
}

}  // namespace

int Main(int argc, char** argv) {
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
  EnsureRuntimeDir();
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillon"));
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

  if (optionForm) return RunOptions(args);
  if (!windowForm) return PrintFileFromCommandLine(args.join(QLatin1Char(' ')));

  platform::WindowDialogs dialogs;
  platform::SettingsStore settings;
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  main_window::Form1 form(services);
  // The window form has no command line, so the start-up ends here or shows
  // the window.
  if (form.Form_Load() == main_window::Form1::LoadResult::Ended) return kFailed;
  form.show();
  return QApplication::exec();
}

}  // namespace app
