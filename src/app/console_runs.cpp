#include "app/console_runs.h"

#include "app/flags.h"

#include "jobs/file_run.h"
#include "jobs/generator.h"
#include "jobs/print_job.h"
#include "jobs/range_run.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/interruption.h"
#include "platform/printers.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <climits>
#include <optional>
#include <cmath>
#include <utility>

namespace app {

namespace {

void Err(const QString& text) { platform::PrintProblem(text); }

// "cancelled by SIGTERM": the start of a signalled run's last line.
QString CancelledBy(int signal) {
  return QStringLiteral("cancelled by %1").arg(QLatin1String(platform::SignalName(signal)));
}

jobs::Generated Draw(const jobs::Options& options, const QString& text) {
  return jobs::Generate(options.Drawn(), text, jobs::PictureOptions(options));
}

class ConsoleFileRun : public jobs::FileRunHost {
 public:
  explicit ConsoleFileRun(const jobs::Options& options) : options_(options) { clock_.start(); }
  QString Pattern() override { return options_.linePattern; }
  bool IncludePattern() override { return options_.includePattern == 1; }
  bool PrintLines() override { return options_.printLine == 1; }
  bool Columns() override { return options_.columns == 1; }
  jobs::Generated Generate(const QString& value) override { return Draw(options_, value); }
  void LetEventsRun() override {}
  bool CancelRequested() override { return platform::Interrupted(); }
  void Refused(const jobs::RefusedLine& r) override {
    Err(QStringLiteral("line %1: \"%2\": %3").arg(r.number).arg(r.text, r.reason));
  }
  // About once a second, and the last line; lines is -1 for a stream.
  void Progress(qint64 line, qint64 lines) override {
    if (line != lines && lastReport_ >= 0 && clock_.elapsed() - lastReport_ < 1000) return;
    lastReport_ = clock_.elapsed();
    Err(lines < 0 ? QStringLiteral("printing line %1").arg(line)
                  : QStringLiteral("printing line %1 of %2").arg(line).arg(lines));
  }

 private:
  const jobs::Options& options_;
  QElapsedTimer clock_;
  qint64 lastReport_ = -1;
};

// Where a file run's job went: the queue and job id, or the PDF file.
QString JobPlace(const platform::Printers& printers, const jobs::FileRunResult& run) {
  return run.pdfPath.isEmpty() ? QStringLiteral("sent to the printer \"%1\" as job %2")
                                     .arg(printers.CurrentName(), printers.LastJobId())
                               : QStringLiteral("saved as %1 (\"%2\")").arg(run.pdfPath, platform::kSaveAsPdf);
}

// The last lines of a run that a signal ended: what went out, and up to where.
int SignalledFileRun(int signal, const jobs::FileRunResult& run, const platform::Printers& printers) {
  const QString upTo = run.lines == 0 ? QStringLiteral("before the first line")
                                      : QStringLiteral("after line %1").arg(run.lines);
  if (run.refused > 0) Err(QStringLiteral("%1 of %2 matching lines were refused").arg(run.refused).arg(run.matching));
  if (run.status != jobs::FileRunResult::Status::Sent)
    Err(QStringLiteral("%1 %2: nothing was sent").arg(CancelledBy(signal), upTo));
  else
    Err(QStringLiteral("%1 %2: the %3 barcode(s) before it were %4")
            .arg(CancelledBy(signal), upTo)
            .arg(run.barcodes)
            .arg(JobPlace(printers, run)));
  return kSignalled + signal;
}

// The last lines of a file run, and its exit status.
int FileRunOutcome(const QString& path, const jobs::FileRunResult& run, const platform::Printers& printers) {
  if (!run.labelWarning.isEmpty()) Err(run.labelWarning);
  if (const int signal = platform::InterruptSignal()) return SignalledFileRun(signal, run, printers);
  const QString refusedCount =
      QStringLiteral("%1 of %2 matching lines were refused").arg(run.refused).arg(run.matching);
  using Status = jobs::FileRunResult::Status;
  switch (run.status) {
    case Status::CannotOpen:
    case Status::PrinterFailed:
      Err(run.message);
      return kFailed;
    case Status::NothingPrinted:
      Err(run.message);
      if (run.refused > 0) Err(refusedCount);
      return kFailed;
    case Status::Sent:
      break;
  }
  const QString where = JobPlace(printers, run);
  if (!run.readError.isEmpty()) {
    Err(QStringLiteral("%1 (%2 barcode(s) %3)").arg(run.message).arg(run.barcodes).arg(where));
    if (run.refused > 0) Err(refusedCount);
    return kFailed;
  }
  Err(QStringLiteral("%1 barcode(s) from %2 lines of %3 %4").arg(run.barcodes).arg(run.lines).arg(path, where));
  if (run.refused == 0) return kOk;
  Err(refusedCount);
  return kSomeRefused;
}

// Run It's numbers held in plain strings, "Bar Code" and "Print" done by the
// jobs; each message is said once (every number of a run may give the same).
class ConsoleRange : public jobs::RangeHost {
 public:
  ConsoleRange(QString text, QString from, QString to, const jobs::Options& options, platform::Printers& printers,
               jobs::LabelRun* labels)
      : text_(std::move(text)),
        from_(std::move(from)),
        to_(std::move(to)),
        options_(options),
        printers_(printers),
        labels_(labels) {}
  QString From() override { return from_; }
  QString To() override { return to_; }
  void SetFrom(const QString& from) override { from_ = from; }
  QString Text() override { return text_; }
  void SetText(const QString& text) override {
    text_ = text;
    barcode_ = Draw(options_, text);
  }
  void Generate() override { Say(barcode_.refusal.boxText); }
  bool Print() override {
    if (labels_) {  // the next label of the run's one document
      if (!barcode_.Drawn()) Say(jobs::kNoBarcode);
      if (!barcode_.Drawn()) return false;
      labels_->Paint(*barcode_.drawing);
      return true;
    }
    const jobs::Printed printed = jobs::PrintBarcode(
        printers_, barcode_, {options_.printer, options_.leftOffset, options_.topOffset, QStringLiteral("Quillon - ") + text_});
    if (!printed.Sent()) Say(printed.message);
    return printed.Sent();
  }
  void Progress(const QString& text, int number, double left) override {
    // The count is capped where an int ends: To may lie far beyond.
    const double numbers = number - 1 + std::min(std::ceil(left), static_cast<double>(INT_MAX - number));
    Err(QStringLiteral("Printing %1 (number %2 of %3)").arg(text).arg(number).arg(numbers, 0, 'f', 0));
  }
  bool CancelRequested() override { return platform::Interrupted(); }
  void Refuse(const QString& why) override { Say(why); }

 private:
  void Say(const QString& message) {
    if (message.isEmpty() || said_.contains(message)) return;
    said_.insert(message);
    Err(message);
  }
  QString text_, from_, to_;
  const jobs::Options& options_;
  platform::Printers& printers_;
  jobs::LabelRun* labels_;
  jobs::Generated barcode_;
  QSet<QString> said_;
};

// What a range run says last on stderr, and its exit status.
int RangeOutcome(const jobs::RangeResult& run, const QString& from, const platform::Printers& printers) {
  for (const QString& text : run.notPrinted) Err(QStringLiteral("%1 was not printed").arg(text));
  const bool pdf = printers.CurrentName() == platform::kSaveAsPdf;
  const QString where = pdf ? QStringLiteral("saved by \"%1\"").arg(platform::kSaveAsPdf)
                            : QStringLiteral("sent to the printer \"%1\"").arg(printers.CurrentName());
  if (const int signal = platform::InterruptSignal()) {
    const QString job = pdf ? printers.LastPdfPath() : QStringLiteral("job ") + printers.LastJobId();
    const QString last = run.jobs == 0 ? QStringLiteral("nothing was sent")
                                       : QStringLiteral("%1 of %2 barcode(s) %3, the last %4 as %5")
                                             .arg(run.jobs)
                                             .arg(run.numbers)
                                             .arg(where, run.lastPrinted, job);
    Err(QStringLiteral("%1: %2; From is now %3").arg(CancelledBy(signal), last, from));
    return kSignalled + signal;
  }
  Err(QStringLiteral("%1 of %2 barcode(s) %3; From is now %4").arg(run.jobs).arg(run.numbers).arg(where, from));
  if (run.jobs == 0 && (run.numbers > 0 || !run.refusal.isEmpty())) return kFailed;
  if (run.jobs < run.numbers || !run.refusal.isEmpty()) return kSomeRefused;
  return kOk;
}

}  // namespace

// The label sheet of a run, or the exit status of a choice that cannot be used.
std::optional<int> ChooseLabels(const platform::SettingsStore& settings, const Overrides& overrides,
                                std::optional<jobs::LabelSheet>& sheet) {
  RunLabels labels = LabelsForRun(jobs::ReadLabelChoice(settings), overrides);
  if (!labels.problem.isEmpty()) {
    Err(labels.problem);
    return labels.usage ? kUsage : kFailed;
  }
  sheet = std::move(labels.sheet);
  return std::nullopt;
}

int PrintRange(const QString& text, const QString& from, const QString& to, double pauseSeconds,
               const jobs::Options& options, platform::Printers& printers, const jobs::LabelSheet* labels) {
  const platform::Interruptible interruptible;
  std::optional<jobs::LabelRun> labelRun;
  if (labels) {
    labelRun.emplace(printers, *labels);
    printers.SetDocName(QStringLiteral("Quillon - ") + text + from);
  }
  ConsoleRange host(text, from, to, options, printers, labelRun ? &*labelRun : nullptr);
  jobs::RangeResult run = jobs::RunRange(host, platform::DefaultClock(), pauseSeconds);
  if (labelRun) {
    // The numbers went on labels of one document: it is the one job.
    const bool any = printers.DocumentOpen();
    if (!printers.EndDoc()) {
      Err(QStringLiteral("the labels could not be printed: %1").arg(printers.LastError()));
      return kFailed;
    }
    if (!any) run.jobs = 0;
    if (const QString warning = labelRun->ScannerWarning(); !warning.isEmpty()) Err(warning);
  }
  return RangeOutcome(run, host.From(), printers);
}

int PrintFile(const QString& path, const jobs::Options& options, platform::Printers& printers,
              const jobs::LabelSheet* labels) {
  const platform::Interruptible interruptible;
  printers.SetDocName(QStringLiteral("Quillon - ") + QFileInfo(path).fileName());
  ConsoleFileRun host(options);
  const jobs::FileRunResult run = jobs::RunFile(path, printers, host, labels);
  return FileRunOutcome(path, run, printers);
}

}  // namespace app
