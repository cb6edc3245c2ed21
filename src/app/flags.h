#pragma once
// The command line's flags: each overrides one saved option for one run,
// read in one place for the file run, --export and --range.
#include "barcode/symbology.h"
#include "jobs/label_run.h"
#include "jobs/options.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QCommandLineParser;

namespace app {

// Which form of the command line the flags belong to.
enum class Form { Export, PrintFile, Range };

struct Overrides {
  std::optional<barcode::Symbology> symbology;
  std::optional<QString> pattern;
  std::vector<std::pair<int jobs::Options::*, int>> switches;
  std::vector<std::pair<QString jobs::Options::*, QString>> numbers;
  std::optional<QString> printer;
  QString output;  // the PDF file of the job (the folder of the jobs for --range)
  bool force = false;
  int quietZone = 10;  // modules of white around an exported picture
  std::optional<QString> labels;   // --labels NAME; "" for --no-labels
  std::optional<int> firstLabel;   // --first-label N
  bool outline = false;            // --outline
};

// Declares every flag on parser.
void AddFlags(QCommandLineParser& parser);

// Reads the overriding flags of a form: "" when they are usable, else the
// usage error.
QString ReadOverrides(const QCommandLineParser& parser, Form form, Overrides& overrides);

// The saved options with the overrides put in.
void ApplyOverrides(jobs::Options& options, const Overrides& overrides);

// The saved label choice with the label flags put in.
void ApplyLabelOverrides(jobs::LabelChoice& choice, const Overrides& overrides);

// The label sheet of a run: the saved choice with the label flags put in;
// no sheet for no labels. A saved product that is gone means no labels; a
// product named by --labels that cannot be used is a problem, and a
// --first-label beyond its sheet a usage error.
struct RunLabels {
  std::optional<jobs::LabelSheet> sheet;
  QString problem;
  bool usage = false;
};
RunLabels LabelsForRun(const jobs::LabelChoice& saved, const Overrides& overrides);

// A plain decimal number: digits with at most one decimal point ('.' or the
// locale's decimal separator), a '-' in front only where signed. No blank,
// exponent, group separator, hex, inf or nan: whatever else a number parser
// would take is more likely a typo.
std::optional<double> PlainNumber(const QString& text, bool isSigned = false);

// Why FROM and TO cannot make a range ("" when they can): not plain
// numbers, beyond what the run counts exactly (a double's whole numbers, an
// int's count of numbers), or no number between them.
QString RangeProblem(const QString& from, const QString& to);

}  // namespace app
