// The generate command runs on every keystroke: this measures one keystroke's
// worth of work (clear and reset the areas, encode, draw, copy the picture).
#include "main_window/form1.h"
#include "platform/dialogs.h"
#include "platform/printers.h"

#include <QSignalBlocker>

#include <benchmark/benchmark.h>

namespace {

void TypeAlternately(benchmark::State& state, QRadioButton* main_window::Form1::*option, const QString& a,
                     const QString& b) {
  platform::ConsoleDialogs dialogs;
  platform::SettingsStore settings;
  settings.SetReadOnly(true);
  platform::Printers printers;
  platform::Services services{dialogs, settings, printers};
  main_window::Form1 form(services);
  (form.*option)->setChecked(true);
  form.Check2->SetValue(1);
  form.reSizeimage();
  {
    // One drawing before the clock runs, outside the change handler (so
    // bench/profile_keystrokes.sh does not count it): fonts and caches load.
    const QSignalBlocker quiet(form.Text1);
    form.Text1->setText(a);
  }
  form.Command1_Click();
  bool flip = false;
  for (auto _ : state) {
    form.Text1->setText(flip ? a : b);  // one keystroke: the change handler generates
    flip = !flip;
    benchmark::DoNotOptimize(form.Picture2->Picture());
  }
  if (!form.LastDrawn()) state.SkipWithError("nothing was drawn");
}

void BM_GenerateCode39_20Chars(benchmark::State& state) {
  TypeAlternately(state, &main_window::Form1::Option2, QStringLiteral("QUILLON-CODE39-12345"),
                  QStringLiteral("QUILLON-CODE39-12346"));
}
BENCHMARK(BM_GenerateCode39_20Chars)->Unit(benchmark::kMicrosecond);

void BM_GenerateCode128B_20Chars(benchmark::State& state) {
  TypeAlternately(state, &main_window::Form1::Option1, QStringLiteral("Quillon-Code128-1234"),
                  QStringLiteral("Quillon-Code128-1235"));
}
BENCHMARK(BM_GenerateCode128B_20Chars)->Unit(benchmark::kMicrosecond);

void BM_GenerateCode128Pattern_20Chars(benchmark::State& state) {
  TypeAlternately(state, &main_window::Form1::Option4, QStringLiteral("Quillon-Code128-1234"),
                  QStringLiteral("Quillon-Code128-1235"));
}
BENCHMARK(BM_GenerateCode128Pattern_20Chars)->Unit(benchmark::kMicrosecond);

void BM_GenerateCode25_20Chars(benchmark::State& state) {
  TypeAlternately(state, &main_window::Form1::Option5, QStringLiteral("01234567890123456789"),
                  QStringLiteral("01234567890123456788"));
}
BENCHMARK(BM_GenerateCode25_20Chars)->Unit(benchmark::kMicrosecond);

// UPC-A and EAN-13 have fixed lengths (11 and 12 digits typed).
void BM_GenerateUpcA(benchmark::State& state) {
  TypeAlternately(state, &main_window::Form1::Option8, QStringLiteral("03600029145"),
                  QStringLiteral("03600029146"));
}
BENCHMARK(BM_GenerateUpcA)->Unit(benchmark::kMicrosecond);

void BM_GenerateEan13(benchmark::State& state) {
  TypeAlternately(state, &main_window::Form1::Option9, QStringLiteral("590123412345"),
                  QStringLiteral("590123412346"));
}
BENCHMARK(BM_GenerateEan13)->Unit(benchmark::kMicrosecond);

}  // namespace
