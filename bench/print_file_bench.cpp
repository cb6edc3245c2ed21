// Printing a 10,000-line file through "Save as PDF" as the command line does,
// one Code 39 barcode per line, in one column, or one a label on Avery 5160
// sheets (30 a sheet). Reports the time per run and, as counters, the peak
// memory of the process and the PDF's size per barcode.
#include "app/console_runs.h"
#include "jobs/file_run.h"
#include "jobs/label_run.h"
#include "jobs/options.h"
#include "platform/printers.h"

#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

namespace {

constexpr int kLines = 10000;

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

void PrintTenThousandLines(benchmark::State& state, const char* product) {
  std::optional<jobs::LabelSheet> sheet;
  if (product) {
    sheet = jobs::SheetFor(labels::Database::Load(), {QString::fromLatin1(product), 1, false});
    if (!sheet) return state.SkipWithError("no label templates (glabels-data)");
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lines.txt"));
  {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < kLines; ++i) file.write(QByteArray("ITEM-") + QByteArray::number(i) + "\r\n");
  }
  jobs::Options options;
  options.symbology = barcode::Symbology::Code39;
  platform::Printers printers(dir.filePath(QStringLiteral("pdf")));
  printers.SelectPrinter(platform::kSaveAsPdf);
  const double memoryBefore = PeakMemoryMiB();
  qint64 pdfBytes = 0;
  qint64 barcodes = 0;
  for (auto _ : state) {
    // The progress lines and the PDF path go nowhere.
    std::fflush(nullptr);
    const int savedErr = dup(2);
    const int savedOut = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    dup2(null, 1);
    const int status = app::PrintFile(path, options, printers, sheet ? &*sheet : nullptr);
    std::fflush(nullptr);
    dup2(savedErr, 2);
    dup2(savedOut, 1);
    close(null);
    close(savedErr);
    close(savedOut);
    if (status != 0) state.SkipWithError("the run failed");
    pdfBytes = QFileInfo(printers.LastPdfPath()).size();
    barcodes = kLines;
    QFile::remove(printers.LastPdfPath());
  }
  state.counters["barcodes"] = static_cast<double>(barcodes);
  state.counters["pdf_bytes_per_barcode"] = barcodes ? static_cast<double>(pdfBytes) / barcodes : 0;
  state.counters["peak_MiB"] = PeakMemoryMiB();
  state.counters["peak_MiB_before_runs"] = memoryBefore;
}
BENCHMARK_CAPTURE(PrintTenThousandLines, rows, nullptr)->Unit(benchmark::kSecond)->Iterations(2);
BENCHMARK_CAPTURE(PrintTenThousandLines, avery_5160, "Avery 5160")->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
