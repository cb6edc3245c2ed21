// Loading the whole label template database, as every command that needs a
// label product does; and finding a product and listing a search in it.
#include "labels/database.h"
#include "labels/listing.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadLabelDatabase(benchmark::State& state) {
  for (auto _ : state) {
    const labels::Database database = labels::Database::Load();
    benchmark::DoNotOptimize(database.Products().data());
    state.counters["products"] = double(database.Products().size());
  }
}
BENCHMARK(BM_LoadLabelDatabase)->Unit(benchmark::kMillisecond);

void BM_ListEveryLabel(benchmark::State& state) {
  const labels::Database database = labels::Database::Load();
  for (auto _ : state) benchmark::DoNotOptimize(labels::ListLines(database, u"").size());
}
BENCHMARK(BM_ListEveryLabel)->Unit(benchmark::kMillisecond);

}  // namespace
