#include "app/console_runs.h"

#include "app/command_line.h"
#include "window/main_window.h"
#include "platform/dialogs.h"
#include "platform/interruption.h"
#include "platform/printers.h"

#include <QTimer>

namespace app {

namespace {

void Err(const QString& text) { platform::PrintProblem(text); }

// "cancelled by SIGTERM": the start of a signalled run's last line.
QString CancelledBy(int signal) {
  return QStringLiteral("cancelled by %1").arg(QLatin1String(platform::SignalName(signal)));
}

// Where a file run's job went: the queue and job id, or the PDF file.
QString JobPlace(window::MainWindow& window, const printing::FileRunResult& run) {
  const platform::Printers& printers = window.CurrentPrinter();
  return run.pdfPath.isEmpty() ? QStringLiteral("sent to the printer \"%1\" as job %2")
                                     .arg(printers.CurrentName(), printers.LastJobId())
                               : QStringLiteral("saved as %1 (\"%2\")").arg(run.pdfPath, platform::kSaveAsPdf);
}

// The last lines of a file run, and its exit status.
int FileRunOutcome(window::MainWindow& window) {
  const printing::FileRunResult& run = window.LastFileRun();
  const int signal = platform::InterruptSignal();
  const QString refusedCount =
      QStringLiteral("%1 of %2 matching lines were refused").arg(run.refused).arg(run.matching);
  const QString upTo = run.lines == 0 ? QStringLiteral("before the first line")
                                      : QStringLiteral("after line %1").arg(run.lines);
  using Status = printing::FileRunResult::Status;
  if (signal) {
    // The last line says what went out, and up to where.
    if (run.refused > 0) Err(refusedCount);
    if (run.status != Status::Sent) {
      Err(QStringLiteral("%1 %2: nothing was sent").arg(CancelledBy(signal), upTo));
    } else {
      Err(QStringLiteral("%1 %2: the %3 barcode(s) before it were %4")
              .arg(CancelledBy(signal), upTo)
              .arg(run.barcodes)
              .arg(JobPlace(window, run)));
    }
    return kSignalled + signal;
  }
  switch (run.status) {
    case Status::CannotOpen:
    case Status::PrinterFailed:
      return kFailed;  // the message is out already
    case Status::NothingPrinted:
      Err(run.cancelled ? QStringLiteral("cancelled before anything was printed") : run.message);
      if (run.refused > 0) Err(refusedCount);
      return kFailed;
    case Status::Sent:
      break;
  }
  const QString where = JobPlace(window, run);
  if (run.cancelled || !run.readError.isEmpty()) {
    Err(run.cancelled
            ? QStringLiteral("cancelled %1; the %2 barcode(s) before it were %3").arg(upTo).arg(run.barcodes).arg(where)
            : QStringLiteral("%1 (%2 barcode(s) %3)").arg(run.message).arg(run.barcodes).arg(where));
    if (run.refused > 0) Err(refusedCount);
    return kFailed;
  }
  Err(QStringLiteral("%1 barcode(s) from %2 lines of %3 %4")
          .arg(run.barcodes)
          .arg(run.lines)
          .arg(window.FilePath, where));
  if (run.refused > 0) {
    Err(refusedCount);
    return kSomeRefused;
  }
  return kOk;
}

}  // namespace

void RunInterruptibly(QObject& context, const std::function<void()>& cancel, const std::function<void()>& work) {
  const platform::Interruptible interruptible;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, &context, [&cancel] {
    if (platform::Interrupted()) cancel();
  });
  watch.start(100);
  work();
}

int PrintFileCommand(window::MainWindow& window, const QString& commandLine) {
  window.ProgressOnConsole = true;
  window.OnRefusedLine = [](const printing::RefusedLine& r) {
    Err(QStringLiteral("line %1: \"%2\": %3").arg(r.number).arg(r.text, r.reason));
  };
  RunInterruptibly(
      window, [&window] { window.CancelFileRun(); }, [&] { window.PrintCommandLineFile(commandLine); });
  window.OnRefusedLine = nullptr;
  return FileRunOutcome(window);
}

int RangeOutcome(const window::MainWindow& window, const platform::Printers& printers) {
  const auto& run = window.LastIncrementingRun();
  for (const QString& text : run.notPrinted) Err(QStringLiteral("%1 was not printed").arg(text));
  const bool pdf = printers.CurrentName() == platform::kSaveAsPdf;
  const QString where = pdf ? QStringLiteral("saved by \"%1\"").arg(platform::kSaveAsPdf)
                            : QStringLiteral("sent to the printer \"%1\"").arg(printers.CurrentName());
  const QString from = window.rangeFromBox->text();
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
  Err(QStringLiteral("%1 of %2 barcode(s) %3%4; From is now %5")
          .arg(run.jobs)
          .arg(run.numbers)
          .arg(where, run.cancelled ? QStringLiteral(" before the run was cancelled") : QString(), from));
  if (run.jobs == 0 && (run.numbers > 0 || !run.refusal.isEmpty() || run.cancelled)) return kFailed;
  if (run.jobs < run.numbers || !run.refusal.isEmpty() || run.cancelled) return kSomeRefused;
  return kOk;
}

}  // namespace app
