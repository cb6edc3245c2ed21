#pragma once
// A command-line run that SIGINT, SIGTERM or SIGHUP asks to end.
//
// While an Interruptible object lives, the first of those signals is only
// noted, and the blocked call it finds returns (EINTR, no restart). The
// waits of a run look at the request at least every 100 ms (a read of a
// silent pipe, a FIFO without a writer, a pause) or are cut short by it (the
// CUPS connection in use is shut down), so the run ends within a second and
// can say what it had already sent. A second signal ends the process at
// once, as it would `cat`.
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

// Makes fd the connection a signal shuts down (-1 for none); returns the one
// watched before, to be put back when fd is closed.
int WatchConnection(int fd);

// "SIGINT", "SIGTERM", "SIGHUP" or "signal N".
const char* SignalName(int signal);

}  // namespace platform
