#include "platform/interruption.h"

#include <csignal>
#include <cstdio>

#include <sys/socket.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t requested = 0;
volatile std::sig_atomic_t watched = -1;

extern "C" void OnSignal(int signal) {
  if (requested) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  requested = signal;
  // libcups starts a wait that a signal cut short afresh; a connection shut
  // down ends it.
  if (watched >= 0) shutdown(watched, SHUT_RDWR);
}

// Without SA_RESTART: a blocked call returns instead of waiting on. A
// signal ignored from the start (nohup, a background job's SIGINT) stays so.
void Handle(int signal) {
  struct sigaction action {}, before {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, &before);
  if (before.sa_handler == SIG_IGN) sigaction(signal, &before, nullptr);
}

}  // namespace

Interruptible::Interruptible() {
  requested = 0;
  for (const int signal : kSignals) Handle(signal);
}

Interruptible::~Interruptible() {
  for (const int signal : kSignals)
    if (std::signal(signal, SIG_DFL) == SIG_IGN) std::signal(signal, SIG_IGN);
}

int InterruptSignal() { return requested; }

int WatchConnection(int fd) {
  const int before = watched;
  watched = fd;
  return before;
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default: {
      static char name[24];
      std::snprintf(name, sizeof name, "signal %d", signal);
      return name;
    }
  }
}

}  // namespace platform
