#include "platform/clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>

namespace platform {

namespace {
long long MonotonicNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

SystemClock::SystemClock() : start_(MonotonicNanoseconds()) {}

double SystemClock::Now() { return static_cast<double>(MonotonicNanoseconds() - start_) / 1e9; }

void SystemClock::LetEventsRun(double wait) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (wait <= 0) return;
  // Sleep in the event loop until an event comes or the time is up; a timer
  // makes sure one comes.
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(std::clamp(static_cast<int>(wait * 1000), 1, 50));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

Clock& DefaultClock() {
  static SystemClock clock;
  return clock;
}

void Pause(Clock& clock, double seconds, const std::function<bool()>& stop) {
  if (!(seconds > 0)) return;
  const double end = clock.Now() + seconds;
  for (double now = clock.Now(); now < end && !(stop && stop()); now = clock.Now())
    clock.LetEventsRun(end - now);
}

}  // namespace platform
