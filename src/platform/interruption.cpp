#include "platform/interruption.h"

#include <csignal>
#include <cstdio>

#include <sys/time.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t requested = 0;

// Every 100 ms after the request: a signal that came just before a blocking
// call began would otherwise leave that call waiting.
void Nudge(bool on) {
  itimerval every{};
  if (on) every.it_interval.tv_usec = every.it_value.tv_usec = 100'000;
  setitimer(ITIMER_REAL, &every, nullptr);
}

extern "C" void OnSignal(int signal) {
  if (requested) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  requested = signal;
  Nudge(true);
}

extern "C" void OnNudge(int) {}

// Without SA_RESTART: a blocked call returns instead of waiting on. A
// signal ignored from the start (nohup, a background job's SIGINT) stays so.
void Handle(int signal, void (*handler)(int)) {
  struct sigaction action {}, before {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, &before);
  if (before.sa_handler == SIG_IGN && signal != SIGALRM) sigaction(signal, &before, nullptr);
}

}  // namespace

Interruptible::Interruptible() {
  requested = 0;
  Handle(SIGALRM, OnNudge);
  for (const int signal : kSignals) Handle(signal, OnSignal);
}

Interruptible::~Interruptible() {
  for (const int signal : kSignals)
    if (std::signal(signal, SIG_DFL) == SIG_IGN) std::signal(signal, SIG_IGN);
  Nudge(false);
  std::signal(SIGALRM, SIG_DFL);
}

int InterruptSignal() { return requested; }

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
