#include "jobs/range_run.h"

#include "platform/clock.h"
#include "platform/numbers.h"

namespace jobs {

std::optional<RangeStep> NextStep(const QString& fromText, const QString& toText) {
  const std::optional<double> from = platform::ParseNumber(fromText);
  const std::optional<double> to = platform::ParseNumber(toText);
  if (!from || !to)
    return RangeStep{0, 0, {}, QStringLiteral("Run It needs numbers in From and To (From: \"%1\", To: \"%2\").")
                                   .arg(fromText, toText)};
  if (!(*from < *to)) return std::nullopt;
  const std::optional<QString> next = NextFrom(*from);
  if (!next)
    return RangeStep{*from, *to, {},
                     QStringLiteral("From %1 has more digits than Run It can count with (15 significant digits): "
                                    "the next number would print the same barcode again.")
                         .arg(fromText)};
  return RangeStep{*from, *to, *next, {}};
}

RangeResult RunRange(RangeHost& host, platform::Clock& clock, double pauseSeconds) {
  RangeResult run;
  const auto cancelled = [&host] { return host.CancelRequested(); };
  for (;;) {
    const std::optional<RangeStep> step = NextStep(host.From(), host.To());
    if (!step) break;
    if (!step->refusal.isEmpty()) {
      host.Refuse(run.refusal = step->refusal);
      break;
    }
    clock.LetEventsRun();
    const QString prefix = host.Text();
    const QString text = prefix + host.From();
    ++run.numbers;
    host.Progress(text, run.numbers, step->to - step->from);
    host.SetText(text);
    host.Generate();
    platform::Pause(clock, pauseSeconds, cancelled);
    if (host.CancelRequested()) {  // during the pause: this number is not printed
      --run.numbers;
      run.cancelled = true;
      host.SetText(prefix);
      break;
    }
    if (host.Print()) {
      ++run.jobs;
      run.lastPrinted = text;
    } else {
      run.notPrinted << text;
    }
    platform::Pause(clock, pauseSeconds, cancelled);
    host.SetText(prefix);
    host.SetFrom(step->next);
    if (host.CancelRequested()) {
      run.cancelled = true;
      break;
    }
  }
  return run;
}

}  // namespace jobs
