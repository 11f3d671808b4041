#include "bench/FullTable.h"
#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "editions/Editions.h"
#include "platform/Cp932.h"
#include "tests/TestSupport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void SavePlayerFiles(const SjisString& base) {
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);
}

// Writes the four files of a full guitar table into a fresh folder: 501 songs
// with double-byte names, a result on every chart, a comment on every song and
// every third song a favourite.
std::unique_ptr<TempDir> WriteFullGuitarFiles() {
    auto dir = std::make_unique<TempDir>();
    ResetData(GuitarEdition());
    AppDir = dir->Dir();
    const SjisString prefix = Utf8ToSjis("ギター曲");
    const SjisString comment = Utf8ToSjis("もう少しでフルコンボ");
    for (int i = 0; i < MaxMusicCount; ++i) {
        TMusicList& music = MusicTable[i];
        music.Name = prefix + std::to_string(i);
        music.Bpm = "150";
        music.ShortName = "S" + std::to_string(i);
        music.Memo = "memo";
        music.Code = FullTableCode(i);
        music.Flags[i % FlagCount] = true;
        music.Favorite = i % 3 == 0;
        music.Comment = comment;
        music.UpdateTime = "03/14 21:05";
        music.Changed = i % 2 == 0;
        for (int c = 0; c < ChartCount(); ++c) {
            music.Level[c] = 10 + (i * 7 + c * 11) % 90;
            TChartResult& chart = music.SkillList.Chart[c];
            chart.PerfectPct = 80;
            chart.GreatPct = 15;
            chart.GoodPct = 5;
            chart.ComboPct = 90;
            chart.Rate = 8000 + i % 2000;
            chart.PerfectCount = 400 + i;
            chart.GreatCount = 75;
            chart.GoodCount = 25;
            chart.ComboCount = 450;
            chart.InputMode = InputCounts;
            chart.TotalNotes = 500 + i;
        }
    }
    MusicCount = MaxMusicCount;
    SetDataLoadComplete(true);
    SaveMusicList(GuitarEdition().GameName);
    SavePlayerFiles(GuitarEdition().GameName);
    return dir;
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
