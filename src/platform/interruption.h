#pragma once
// A command-line run that SIGINT, SIGTERM or SIGHUP asks to end.
//
// While an Interruptible object lives, the first of those signals is only
// noted: from then on every blocked system call of the process returns
// (EINTR) within a tenth of a second, so that an open of a FIFO, a read of a
// silent pipe, a wait for CUPS or a pause sees the request and gives up, and
// the run can say what it had already sent. A second signal ends the
// process at once, as it would `cat`.
namespace platform {

class Interruptible {
 public:
  Interruptible();
  ~Interruptible();
  Interruptible(const Interruptible&) = delete;
  Interruptible& operator=(const Interruptible&) = delete;
};

// The signal that asked the current or last run to end, 0 for none.
int InterruptSignal();
inline bool Interrupted() { return InterruptSignal() != 0; }

// "SIGINT", "SIGTERM", "SIGHUP" or "signal N".
const char* SignalName(int signal);

}  // namespace platform
