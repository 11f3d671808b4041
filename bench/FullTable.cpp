#include "bench/FullTable.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/Edition.h"
#include "platform/Cp932.h"

#include <QApplication>

#include <cstdlib>

std::unique_ptr<TempDir> WriteFullGuitarFiles() {
    auto dir = std::make_unique<TempDir>();
    ResetData(GuitarEdition());
    AppDir = dir->Dir();
    const SjisString prefix = Utf8ToSjis("ギター曲");
    const SjisString comment = Utf8ToSjis("もう少しでフルコンボ");
    for (int i = 0; i < kMaxMusicCount; ++i) {
        TMusicList& music = MusicTable[i];
        music.Name = prefix + std::to_string(i);
        music.Bpm = "150";
        music.ShortName = "S" + std::to_string(i);
        music.Memo = "memo";
        music.Code = FullTableCode(i);
        music.Flags[i % kFlagCount] = true;
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
    MusicCount = kMaxMusicCount;
    SetDataLoadComplete(true);
    const SjisString& base = GuitarEdition().GameName;
    SaveMusicList(base);
    SaveSkillData(base);
    SaveFavorites(base);
    SaveComments(base);
    return dir;
}

// Created on first use and never destroyed: a QApplication torn down among
// the static destructors at exit would crash.
void BenchApplication() {
    static int argc = 1;
    static char name[] = "vos_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}
