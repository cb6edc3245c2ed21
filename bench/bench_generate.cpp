// The generate command runs on every keystroke: this measures one keystroke's
// worth of work (encode, lay out, render the picture, show it in the preview).
#include "window/main_window.h"
#include "platform/dialogs.h"
#include "platform/printers.h"

#include <QSignalBlocker>

#include <benchmark/benchmark.h>

namespace {

void TypeAlternately(benchmark::State& state, QRadioButton* window::MainWindow::*option, const QString& a,
                     const QString& b) {
  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  settings.SetReadOnly(true);
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  window::MainWindow window(services);
  (window.*option)->setChecked(true);
  window.textLineCheck->SetValue(1);
  window.applyBarSize();
  {
    // One drawing before the clock runs, outside the change handler (so
    // bench/profile_keystrokes.sh does not count it): fonts and caches load.
    const QSignalBlocker quiet(window.barcodeText);
    window.barcodeText->setText(a);
  }
  window.generate();
  bool flip = false;
  for (auto _ : state) {
    window.barcodeText->setText(flip ? a : b);  // one keystroke: the change handler generates
    flip = !flip;
    benchmark::DoNotOptimize(window.finishedPicture().picture);
  }
  if (!window.finishedPicture().Drawn()) state.SkipWithError("nothing was drawn");
}

void BM_GenerateCode39_20Chars(benchmark::State& state) {
  TypeAlternately(state, &window::MainWindow::code39Choice, QStringLiteral("QUILLON-CODE39-12345"),
                  QStringLiteral("QUILLON-CODE39-12346"));
}
BENCHMARK(BM_GenerateCode39_20Chars)->Unit(benchmark::kMicrosecond);

void BM_GenerateCode128B_20Chars(benchmark::State& state) {
  TypeAlternately(state, &window::MainWindow::code128BChoice, QStringLiteral("Quillon-Code128-1234"),
                  QStringLiteral("Quillon-Code128-1235"));
}
BENCHMARK(BM_GenerateCode128B_20Chars)->Unit(benchmark::kMicrosecond);

void BM_GenerateCode128Pattern_20Chars(benchmark::State& state) {
  TypeAlternately(state, &window::MainWindow::code128PatternChoice, QStringLiteral("Quillon-Code128-1234"),
                  QStringLiteral("Quillon-Code128-1235"));
}
BENCHMARK(BM_GenerateCode128Pattern_20Chars)->Unit(benchmark::kMicrosecond);

void BM_GenerateCode25_20Chars(benchmark::State& state) {
  TypeAlternately(state, &window::MainWindow::interleaved25Choice, QStringLiteral("01234567890123456789"),
                  QStringLiteral("01234567890123456788"));
}
BENCHMARK(BM_GenerateCode25_20Chars)->Unit(benchmark::kMicrosecond);

// UPC-A and EAN-13 have fixed lengths (11 and 12 digits typed).
void BM_GenerateUpcA(benchmark::State& state) {
  TypeAlternately(state, &window::MainWindow::upcAChoice, QStringLiteral("03600029145"),
                  QStringLiteral("03600029146"));
}
BENCHMARK(BM_GenerateUpcA)->Unit(benchmark::kMicrosecond);

void BM_GenerateEan13(benchmark::State& state) {
  TypeAlternately(state, &window::MainWindow::eanChoice, QStringLiteral("590123412345"),
                  QStringLiteral("590123412346"));
}
BENCHMARK(BM_GenerateEan13)->Unit(benchmark::kMicrosecond);

}  // namespace
