#include "app/command_line.h"

#include "app/console_runs.h"
#include "app/flags.h"
#include "jobs/export.h"
#include "jobs/generator.h"
#include "jobs/label_run.h"
#include "jobs/options.h"
#include "labels/listing.h"
#include "layout/lay.h"
#include "platform/dialogs.h"
#include "platform/output_file.h"
#include "platform/printers.h"
#include "platform/settings_store.h"
#include "app/launch.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <memory>

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
    "          [--bar-height V] [--font-size V] [--width V] [--quiet-zone N] [--force]\n"
    "          [--] TEXT            write the barcode of TEXT to OUT: PNG, or SVG / PDF\n"
    "                               when OUT ends in .svg / .pdf; - writes PNG to stdout;\n"
    "                               with white of N modules left and right (10; 0: none)\n"
    "  quillon --range FROM TO [--pause S] [--printer NAME | --output DIR]\n"
    "          [--symbology S] [the other flags of --export] [--] PREFIX\n"
    "                               print PREFIX followed by each number from FROM up to,\n"
    "                               not including, TO (one job each; \"\" for no prefix);\n"
    "                               --output collects \"Save as PDF\" jobs in DIR\n"
    "  quillon --list-printers      the printers, the current one marked with *\n"
    "  quillon --list-labels [WORD] the label products whose brand, part or\n"
    "                               description hold WORD: size, labels a sheet\n"
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
    "  --labels NAME, --no-labels   one barcode a label of the product NAME (\"Avery\n"
    "                               5160\"), a new sheet when one is full; or none\n"
    "  --first-label N              start on label N of the first sheet (1: the first)\n"
    "  --outline                    draw each label's outline too, to check alignment\n"
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

// The saved options for a one-off run, which changes none of them: a store
// the window would reset is only reported.
std::optional<jobs::Options> SavedOptions(const platform::SettingsStore& settings) {
  const jobs::StoredOptions stored = jobs::ReadOptions(settings);
  if (stored.error.isEmpty()) return stored.options;
  Err(QStringLiteral("the saved options in %1 cannot be used: %2 (starting the window restores the defaults)")
          .arg(settings.FilePath(jobs::kApp), stored.error));
  return std::nullopt;
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
  platform::SettingsStore settings;
  std::optional<jobs::Options> options = SavedOptions(settings);
  if (!options) return kFailed;
  ApplyOverrides(*options, overrides);
  jobs::Generated barcode = jobs::Generate(options->Drawn(), text, jobs::PictureOptions(*options));
  if (!barcode.Drawn()) {
    const QString why = !barcode.refusal.message.isEmpty() ? barcode.refusal.message : barcode.refusal.boxText;
    Err(why.isEmpty() ? QStringLiteral("nothing to draw for \"%1\"").arg(text) : why);
    return kFailed;
  }
  // White around the picture, so that it scans next to whatever it is put beside.
  barcode = jobs::WithQuietZone(barcode, overrides.quietZone);
  const QString problem =
      jobs::WritePicture(barcode, out, overrides.force ? platform::Replace::Allowed : platform::Replace::Never);
  if (!problem.isEmpty()) {
    Err(problem);
    return kFailed;
  }
  return kOk;
}

// `quillon --list-labels [WORD]`: the label products, one a line.
int ListLabels(const QStringList& words) {
  const labels::Database database = labels::Database::Load();
  if (database.Empty()) {
    Err(labels::NoTemplatesMessage(database.Folder()));
    return kFailed;
  }
  const QString query = words.join(QLatin1Char(' '));
  const QStringList lines = labels::ListLines(database, query);
  if (lines.isEmpty()) {
    Err(QStringLiteral("no label product matches \"%1\"").arg(query));
    return kFailed;
  }
  for (const QString& line : lines) Out(line);
  return Flushed();
}

int ListPrinters() {
  const platform::Printers printers;
  for (const QString& name : printers.Names())
    Out((name == printers.CurrentName() ? QStringLiteral("* ") : QStringLiteral("  ")) + name);
  return Flushed();
}

// `quillon PATH`: the window's start-up with a command line, without the
// window: the saved options (a store that cannot be used is reset, as the
// window's start-up does), the path saved as the window's, then "Print File".
int PrintFileAsStarted(const QString& path) {
  platform::SettingsStore settings;
  const jobs::StoredOptions stored = jobs::ReadOptions(settings);
  if (!stored.error.isEmpty()) {
    Err(jobs::ResetOptions(settings, stored.error));
    return kFailed;
  }
  settings.SaveSetting(jobs::kApp, jobs::kSection, QStringLiteral("file"), path);
  std::optional<jobs::LabelSheet> sheet;
  if (const std::optional<int> status = ChooseLabels(settings, {}, sheet)) return *status;
  platform::Printers printers;
  printers.SelectPrinter(stored.options.printer);
  return PrintFile(path, stored.options, printers, sheet ? &*sheet : nullptr);
}

// `quillon [FLAGS] PATH`: the file printed with the saved options and the
// flags; nothing is saved.
int PrintFileWithFlags(const QString& path, const Overrides& overrides) {
  platform::SettingsStore settings;
  std::optional<jobs::Options> options = SavedOptions(settings);
  if (!options) return kFailed;
  ApplyOverrides(*options, overrides);
  std::optional<jobs::LabelSheet> sheet;
  if (const std::optional<int> status = ChooseLabels(settings, overrides, sheet)) return *status;
  platform::Printers printers;
  if (!overrides.output.isEmpty()) {
    // Checked here as well as when the file is written: the run may be long.
    if (!overrides.force && !platform::WrittenInPlace(overrides.output) && QFileInfo::exists(overrides.output)) {
      Err(QStringLiteral("%1 exists already; use --force to replace it").arg(overrides.output));
      return kFailed;
    }
    printers.SetPdfFile(overrides.output, overrides.force ? platform::Replace::Allowed : platform::Replace::Never);
  }
  printers.SelectPrinter(options->printer);
  return PrintFile(path, *options, printers, sheet ? &*sheet : nullptr);
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
  platform::SettingsStore settings;
  std::optional<jobs::Options> options = SavedOptions(settings);
  if (!options) return kFailed;
  ApplyOverrides(*options, overrides);
  std::optional<jobs::LabelSheet> sheet;
  if (const std::optional<int> status = ChooseLabels(settings, overrides, sheet)) return *status;
  platform::Printers printers(overrides.output.isEmpty() ? platform::DefaultPdfFolder() : overrides.output);
  // A printer that cannot take the jobs, or a folder that cannot take the
  // files, is known before the first number.
  printers.SelectPrinter(options->printer);
  if (const QString problem = printers.DestinationProblem(); !problem.isEmpty()) {
    Err(problem);
    return kFailed;
  }
  return PrintRange(rest[1], from, to, pause, *options, printers, sheet ? &*sheet : nullptr);
}

int RunOptions(const QStringList& args) {
  QCommandLineParser parser;
  AddFlags(parser);
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
  if (parser.isSet(QStringLiteral("list-labels"))) return ListLabels(parser.positionalArguments());
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
  return PrintFileWithFlags(path, overrides);
}

// The window is a program of its own (quillon-window beside this one, or
// where it is installed), so that the command line's forms do not load the
// widgets: this one only starts it.
int StartWindow(char** argv) {
  const QString here = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
  QString window = QDir(here).filePath(QStringLiteral("quillon-window"));
  if (!QFileInfo(window).isExecutable()) window = QStringLiteral(QUILLON_WINDOW_PROGRAM);
  const QByteArray program = QFile::encodeName(window);
  argv[0] = const_cast<char*>(program.constData());
  execv(program.constData(), argv);
  Err(QStringLiteral("cannot start the window (%1): %2").arg(window, platform::OutputErrorText(errno)));
  return kFailed;
}

}  // namespace

int Main(int argc, char** argv) {
  FindHome();
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
  if (windowForm) return StartWindow(argv);
  PrepareProcess();
  // The command line's forms make no widget: a GUI application is enough.
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("Quillon"));
  QGuiApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
  if (optionForm) return RunOptions(args);
  return PrintFileAsStarted(args.join(QLatin1Char(' ')).trimmed());
}

}  // namespace app
