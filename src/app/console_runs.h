#pragma once
// The long runs of the command line (a file, a range) with their signals and
// their last words: what went out, and the exit status that says so.
#include <QString>

#include <functional>

class QObject;

namespace window {
class MainWindow;
}
namespace platform {
class Printers;
}

namespace app {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2, kSomeRefused = 3, kSignalled = 128 };

// Runs work with SIGINT, SIGTERM and SIGHUP calling cancel (looked at every
// 100 ms) and ending any blocking wait (platform/interruption.h).
void RunInterruptibly(QObject& context, const std::function<void()>& cancel, const std::function<void()>& work);

// What the last Run It of form says on stderr, and its exit status.
int RangeOutcome(const window::MainWindow& window, const platform::Printers& printers);

}  // namespace app
