// The main window's refresh on a full table: 501 songs with a result on every
// chart, every song shown, the window visible so the batch grid is filled too.
#include "bench/FullTable.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "data/SkillCmp.h"
#include "tests/TestSupport.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <string>

namespace {

void FillFullTable(const Edition& edition) {
    ResetData(edition);
    for (int i = 0; i < kMaxMusicCount; ++i) {
        TMusicList& song = MusicTable[static_cast<std::size_t>(i)];
        song.Code = FullTableCode(i);
        song.Index = i;
        song.Name = "Song number " + std::to_string(i);
        song.Bpm = "150";
        song.Comment = "comment";
        song.UpdateTime = "07/01 12:34";
        song.SkillList.Index = i;
        for (int c = 0; c < ChartCount(); ++c) {
            song.Level[static_cast<std::size_t>(c)] = 10 + (i * 7 + c * 11) % 90;
            TChartResult& chart = song.SkillList.Chart[static_cast<std::size_t>(c)];
            chart.InputMode = InputRate;
            chart.Rate = 6000 + (i * 13 + c * 5) % 40 * 97;
        }
        MusicNames.push_back(song.Name);
    }
    MusicCount = kMaxMusicCount;
}

void RefreshFullTable(benchmark::State& state, const Edition& edition) {
    BenchApplication();
    FillFullTable(edition);
    DefaultFormulas formulas;
    {
        MainForm form;
        form.show();
        QApplication::processEvents();
        for (auto _ : state) {
            form.btnCompClick();
            QApplication::processEvents(); // the one repaint
        }
    }
}

void BM_MainFormRefreshFullGuitarTable(benchmark::State& state) {
    RefreshFullTable(state, GuitarEdition());
}
void BM_MainFormRefreshFullDrumTable(benchmark::State& state) {
    RefreshFullTable(state, DrumEdition());
}

} // namespace

BENCHMARK(BM_MainFormRefreshFullGuitarTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainFormRefreshFullDrumTable)->Unit(benchmark::kMillisecond);
