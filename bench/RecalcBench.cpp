#include "bench/FullTable.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/Recalc.h"
#include "data/SkillCmp.h"
#include "tests/TestSupport.h"

#include <benchmark/benchmark.h>

namespace {

// A full guitar table: 501 songs over the four categories, every chart with a
// level and a result, the input modes 1, 2 and 3 in turn. Modes that
// recalculation rewrites (legacy) are left out so every iteration does the same work.
void FillFullGuitarTable() {
    ResetData(GuitarEdition());
    for (int i = 0; i < kMaxMusicCount; ++i) {
        TMusicList& music = MusicTable[i];
        music.Code = FullTableCode(i);
        music.Index = i;
        music.SkillList.Index = i;
        for (int c = 0; c < ChartCount(); ++c) {
            music.Level[c] = 10 + (i * 7 + c * 11) % 90;
            TChartResult& chart = music.SkillList.Chart[c];
            const int salt = (i * 13 + c * 5) % 40;
            switch ((i + c) % 3) {
            case 0:
                chart.InputMode = InputRate;
                chart.Rate = 6000 + salt * 97;
                break;
            case 1:
                chart.InputMode = InputPercents;
                chart.PerfectPct = 60 + salt;
                chart.GreatPct = 100 - chart.PerfectPct;
                chart.ComboPct = 50 + salt;
                break;
            default:
                chart.InputMode = InputCounts;
                chart.PerfectCount = 400 + salt * 13;
                chart.GreatCount = 90 - salt;
                chart.GoodCount = salt % 7;
                chart.MissCount = salt % 3;
                chart.ComboCount = 300 + salt * 11;
                chart.TotalNotes = chart.PerfectCount + chart.GreatCount + chart.GoodCount + chart.MissCount;
                break;
            }
        }
    }
    MusicCount = kMaxMusicCount;
}

void BM_RecalcAllSkillsFullGuitarTable(benchmark::State& state) {
    DefaultFormulas formulas;
    FillFullGuitarTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(RecalcAllSkills());
}

} // namespace

BENCHMARK(BM_RecalcAllSkillsFullGuitarTable)->Unit(benchmark::kMicrosecond);
