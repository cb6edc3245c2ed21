#pragma once
// Time and the event loop, as the long commands see them: the current time
// with sub-second resolution, and a call that lets pending window events
// run. Tests put a clock in its place that moves on without waiting.
#include <functional>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since an arbitrary start; never goes back (midnight and changes
  // of the wall clock do not matter).
  virtual double Now() = 0;
  // Lets the pending window events run once. With wait > 0 it may wait up to
  // that many seconds for an event, instead of spinning.
  virtual void LetEventsRun(double wait = 0) = 0;
};

// The monotonic clock and the application's event loop.
class SystemClock : public Clock {
 public:
  SystemClock();
  double Now() override;
  void LetEventsRun(double wait = 0) override;

 private:
  long long start_;
};

// The process's one system clock (it holds no state worth sharing apart).
Clock& DefaultClock();

// Waits the given seconds while letting window events run; zero or a
// negative value returns at once, and so does the wait when stop says so.
void Pause(Clock& clock, double seconds, const std::function<bool()>& stop = {});

}  // namespace platform
