#include "bench/FullTable.h"
#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"

#include <benchmark/benchmark.h>

namespace {

void SavePlayerFiles(const SjisString& base) {
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);
}

void BM_LoadDataFiles(benchmark::State& state) {
    auto dir = WriteFullGuitarFiles();
    const SjisString base = GuitarEdition().GameName;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadAllDataFiles(base));
}
BENCHMARK(BM_LoadDataFiles)->Unit(benchmark::kMillisecond);

// The three player files, as the program saves them at exit.
void BM_SaveDataFiles(benchmark::State& state) {
    auto dir = WriteFullGuitarFiles();
    const SjisString base = GuitarEdition().GameName;
    for (auto _ : state)
        SavePlayerFiles(base);
}
BENCHMARK(BM_SaveDataFiles)->Unit(benchmark::kMillisecond);

void BM_LoadAndSaveDataFiles(benchmark::State& state) {
    auto dir = WriteFullGuitarFiles();
    const SjisString base = GuitarEdition().GameName;
    for (auto _ : state) {
        LoadAllDataFiles(base);
        SavePlayerFiles(base);
    }
}
BENCHMARK(BM_LoadAndSaveDataFiles)->Unit(benchmark::kMillisecond);

} // namespace
