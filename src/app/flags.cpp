#include "app/flags.h"

#include "platform/output_file.h"
#include "platform/printers.h"

#include <QCommandLineParser>
#include <QLocale>
#include <QRegularExpression>

#include <climits>
#include <cmath>
#include <string>
#include <string_view>

namespace app {

namespace {

// The on/off flags and the option each sets.
struct SwitchFlag {
  const char* name;
  int jobs::Options::*option;
  bool exportToo;
};
constexpr SwitchFlag kSwitches[] = {
    {"include-pattern", &jobs::Options::includePattern, false},
    {"columns", &jobs::Options::columns, false},
    {"print-line", &jobs::Options::printLine, false},
    {"text-line", &jobs::Options::textLine, true},
};

// The numeric flags, with the ranges the window keeps its boxes to.
struct NumberFlag {
  const char* name;
  QString jobs::Options::*option;
  double low, high;
};
constexpr NumberFlag kNumbers[] = {
    {"bar-height", &jobs::Options::barHeight, jobs::kBarHeightRange.lowest, jobs::kBarHeightRange.highest},
    {"font-size", &jobs::Options::fontSize, jobs::kFontSizeRange.lowest, jobs::kFontSizeRange.highest},
    // The stretch: pixels for every 800 drawn. 0 would ask for bars of no
    // width (the window then draws 1 pixel per module); far above 16000 the
    // picture outgrows what a picture holds.
    {"width", &jobs::Options::width, 1, 16000},
};

// The flags that only printing a file takes, and the one only --export takes.
const char* const kPrintOnly[] = {"pattern", "printer", "output"};

QString Misplaced(const char* flag, Form form) {
  if (form == Form::PrintFile) return QStringLiteral("--%1 is for --export only").arg(QLatin1String(flag));
  return QStringLiteral("--%1 is for printing a file, not for --%2")
      .arg(QLatin1String(flag), form == Form::Export ? QStringLiteral("export") : QStringLiteral("range"));
}

// --printer and --output: a queue, or "Save as PDF" into a file (a folder for --range).
QString ReadDestination(const QCommandLineParser& parser, Form form, Overrides& o) {
  const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
  if (parser.isSet(QStringLiteral("printer"))) {
    const QStringList names = platform::PrinterNames();
    if (!names.contains(value("printer")))
      return QStringLiteral("unknown printer \"%1\"; the printers are: %2")
          .arg(value("printer"), names.join(QStringLiteral(", ")));
    o.printer = value("printer");
  }
  if (!parser.isSet(QStringLiteral("output"))) return {};
  o.output = value("output");
  if (form == Form::PrintFile && !o.output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) &&
      !platform::WrittenInPlace(o.output))
    return QStringLiteral("--output \"%1\": the name of the PDF file must end in .pdf").arg(o.output);
  if (o.printer && *o.printer != platform::kSaveAsPdf)
    return (form == Form::Range ? QStringLiteral("--output collects \"%1\" files, not jobs for the printer \"%2\"")
                                : QStringLiteral("--output writes a PDF file (\"%1\"), not to the printer \"%2\""))
        .arg(platform::kSaveAsPdf, *o.printer);
  o.printer = platform::kSaveAsPdf;
  return {};
}

QString ReadNumbers(const QCommandLineParser& parser, Overrides& o) {
  for (const NumberFlag& n : kNumbers) {
    if (!parser.isSet(QLatin1String(n.name))) continue;
    const QString text = parser.value(QLatin1String(n.name));
    const auto number = PlainNumber(text);
    if (!number || *number < n.low || *number > n.high)
      return QStringLiteral("--%1 \"%2\" is not a number from %3 to %4")
          .arg(QLatin1String(n.name), text, QString::number(n.low), QString::number(n.high));
    // Written as the window's boxes read numbers: in the locale, without
    // group separators ("1.125" is 1125 where '.' groups thousands).
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    o.numbers.emplace_back(n.option, locale.toString(*number, 'g', 15));
  }
  if (parser.isSet(QStringLiteral("quiet-zone"))) {
    const QString text = parser.value(QStringLiteral("quiet-zone"));
    const auto modules = PlainNumber(text);
    if (!modules || *modules > 100 || *modules != std::floor(*modules))
      return QStringLiteral("--quiet-zone \"%1\" is not a whole number of modules from 0 to 100").arg(text);
    o.quietZone = static_cast<int>(*modules);
  }
  return {};
}

// --labels, --no-labels, --first-label and --outline: for printing a file and --range.
QString ReadLabelFlags(const QCommandLineParser& parser, Form form, Overrides& o) {
  const auto set = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
  for (const char* name : {"labels", "no-labels", "first-label", "outline"})
    if (form == Form::Export && set(name))
      return QStringLiteral("--%1 is for printing a file or --range, not for --export").arg(QLatin1String(name));
  if (set("labels") && set("no-labels")) return QStringLiteral("--labels and --no-labels exclude each other");
  if (set("labels")) o.labels = parser.value(QStringLiteral("labels")).simplified();
  if (set("no-labels")) o.labels = QString();
  if (o.labels && o.labels->isEmpty() && (set("first-label") || set("outline")))
    return QStringLiteral("--first-label and --outline need labels (--labels NAME)");
  if (set("first-label")) {
    const QString text = parser.value(QStringLiteral("first-label"));
    const auto number = PlainNumber(text);
    if (!number || *number < 1 || *number > 100000 || *number != std::floor(*number))
      return QStringLiteral("--first-label \"%1\" is not a label number (1 for the first label)").arg(text);
    o.firstLabel = static_cast<int>(*number);
  }
  o.outline = set("outline");
  return {};
}

}  // namespace

void AddFlags(QCommandLineParser& parser) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const auto flag = [](const char* name) { return QCommandLineOption(QLatin1String(name)); };
  const auto valued = [](const char* name, const char* valueName) {
    return QCommandLineOption(QLatin1String(name), QString(), QLatin1String(valueName));
  };
  parser.addOptions({valued("export", "OUT"), valued("symbology", "S"), valued("pattern", "P"),
                     valued("bar-height", "V"), valued("font-size", "V"), valued("width", "V"),
                     valued("quiet-zone", "N"), valued("printer", "NAME"), valued("output", "FILE.pdf"),
                     flag("force"), valued("range", "FROM"), valued("pause", "S"), flag("list-printers"),
                     flag("help"), flag("version"), valued("labels", "NAME"), flag("no-labels"),
                     valued("first-label", "N"), flag("outline"), flag("list-labels")});
  for (const SwitchFlag& s : kSwitches)
    parser.addOptions({flag(s.name), QCommandLineOption(QStringLiteral("no-") + QLatin1String(s.name))});
}

QString ReadOverrides(const QCommandLineParser& parser, Form form, Overrides& o) {
  const auto set = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
  if (form != Form::PrintFile) {
    for (const char* name : kPrintOnly)
      if (set(name) && (form == Form::Export || std::string_view(name) == "pattern")) return Misplaced(name, form);
    for (const SwitchFlag& s : kSwitches)
      if (!s.exportToo && (set(s.name) || set(("no-" + std::string(s.name)).c_str()))) return Misplaced(s.name, form);
  }
  if (form != Form::Export && set("quiet-zone")) return Misplaced("quiet-zone", Form::PrintFile);
  if (set("symbology")) {
    const QString s = parser.value(QStringLiteral("symbology"));
    o.symbology = barcode::SymbologyNamed(s);
    if (!o.symbology)
      return QStringLiteral("unknown symbology \"%1\" (code39, code128b, code128-1, code25, upc, ean)").arg(s);
  }
  if (set("pattern")) o.pattern = parser.value(QStringLiteral("pattern"));
  for (const SwitchFlag& s : kSwitches) {
    const QString on = QLatin1String(s.name), off = QStringLiteral("no-") + on;
    if (parser.isSet(on) && parser.isSet(off)) return QStringLiteral("--%1 and --%2 exclude each other").arg(on, off);
    if (parser.isSet(on) || parser.isSet(off)) o.switches.emplace_back(s.option, parser.isSet(on) ? 1 : 0);
  }
  if (const QString problem = ReadNumbers(parser, o); !problem.isEmpty()) return problem;
  if (const QString problem = ReadLabelFlags(parser, form, o); !problem.isEmpty()) return problem;
  if (const QString problem = ReadDestination(parser, form, o); !problem.isEmpty()) return problem;
  o.force = set("force");
  return {};
}

void ApplyOverrides(jobs::Options& options, const Overrides& o) {
  if (o.symbology) options.symbology = o.symbology;
  if (o.pattern) options.linePattern = *o.pattern;
  for (const auto& [option, value] : o.switches) options.*option = value;
  for (const auto& [option, text] : o.numbers) options.*option = text;
  if (o.printer) options.printer = *o.printer;
}

void ApplyLabelOverrides(jobs::LabelChoice& choice, const Overrides& o) {
  if (o.labels) choice.product = *o.labels;
  if (o.firstLabel) choice.firstLabel = *o.firstLabel;
  choice.outline = o.outline;
}

RunLabels LabelsForRun(const jobs::LabelChoice& saved, const Overrides& o) {
  jobs::LabelChoice choice = saved;
  ApplyLabelOverrides(choice, o);
  if (choice.product.isEmpty()) return {};
  const bool named = o.labels.has_value();
  const labels::Database database = labels::Database::Load();
  if (database.Empty())
    return {{}, named ? labels::NoTemplatesMessage(database.Folder()) : QString(), false};
  const labels::Product* product = database.Find(choice.product);
  if (!product)
    return {{},
            named ? QStringLiteral("no label product \"%1\" (brand and part, such as \"Avery 5160\"); "
                                   "see quillon --list-labels WORD")
                        .arg(choice.product)
                  : QString(),
            false};
  const int perSheet = labels::LabelsPerSheet(*product);
  if (o.firstLabel && *o.firstLabel > perSheet)
    return {{}, QStringLiteral("--first-label %1: %2 has %3 label(s) a sheet").arg(*o.firstLabel).arg(
                    labels::FullName(*product)).arg(perSheet), true};
  return {jobs::SheetFor(database, choice), {}, false};
}

std::optional<double> PlainNumber(const QString& text, bool isSigned) {
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

}  // namespace app
