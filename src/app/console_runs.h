#pragma once
// The long runs of the command line (a file, a range), without a window:
// progress and refused lines on stderr, SIGINT, SIGTERM and SIGHUP ending the
// run wherever it waits, and last words that say what went out, with the
// exit status that says so.
#include "jobs/label_run.h"
#include "jobs/options.h"

#include <QString>

#include <optional>

namespace platform {
class Printers;
class SettingsStore;
}

namespace app {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2, kSomeRefused = 3, kSignalled = 128 };

struct Overrides;

// The label sheet of a run: the saved choice with the flags' overrides, into
// sheet (none for no labels); or the exit status of a choice that cannot be
// used, said on stderr.
std::optional<int> ChooseLabels(const platform::SettingsStore& settings, const Overrides& overrides,
                                std::optional<jobs::LabelSheet>& sheet);

// Prints the file at path with options on the current printer (already
// selected), on labels where given; returns the exit status.
int PrintFile(const QString& path, const jobs::Options& options, platform::Printers& printers,
              const jobs::LabelSheet* labels = nullptr);

// Prints text followed by each number from from up to, not including, to,
// one job each, with pauses of pauseSeconds; on labels, all of them in one
// job. Returns the exit status.
int PrintRange(const QString& text, const QString& from, const QString& to, double pauseSeconds,
               const jobs::Options& options, platform::Printers& printers, const jobs::LabelSheet* labels = nullptr);

}  // namespace app
