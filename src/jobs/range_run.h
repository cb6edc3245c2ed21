#pragma once
// The incrementing run ("Run It"): one print job for the text followed by
// each number from From up to, not including, To, with a pause before and
// after each Print. Whoever runs it (the window, the command line) holds the
// text, From and To, and prints; the run reads From and To again before
// every step, so editing them changes the rest of the run.
#include "jobs/range_numbers.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {
class Clock;
}

namespace jobs {

class RangeHost {
 public:
  virtual ~RangeHost() = default;
  virtual QString From() = 0;
  virtual QString To() = 0;
  virtual void SetFrom(const QString& from) = 0;
  virtual QString Text() = 0;
  // Makes text the text to encode, and draws it.
  virtual void SetText(const QString& text) = 0;
  // "Bar Code" once more: it shows a refusal's message box.
  virtual void Generate() = 0;
  // The Print command; true when it sent a job.
  virtual bool Print() = 0;
  // left: To less From, the numbers still to come with this one.
  virtual void Progress(const QString& text, int number, double left) = 0;
  virtual bool CancelRequested() = 0;
  // A run that cannot start or go on says why.
  virtual void Refuse(const QString& why) = 0;
};

struct RangeResult {
  int numbers = 0;          // numbers printed or tried
  int jobs = 0;             // print jobs sent
  QStringList notPrinted;   // the barcode texts whose Print sent no job
  QString lastPrinted;      // the barcode text of the last job sent
  QString refusal;          // why the run did not start or stopped early ("" if it did not)
  bool cancelled = false;
};

// Runs the steps with pauses of pauseSeconds on clock.
RangeResult RunRange(RangeHost& host, platform::Clock& clock, double pauseSeconds);

// The numbers of a step that can be printed, or why not; nothing when From
// is not less than To (the run is over).
struct RangeStep {
  double from = 0, to = 0;
  QString next;     // what From becomes after the step
  QString refusal;  // the step cannot be taken: why
};
std::optional<RangeStep> NextStep(const QString& from, const QString& to);

}  // namespace jobs
