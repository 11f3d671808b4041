#include "data/DataUnit.h"

#include "data/SkillCmp.h"

std::array<TMusicList, kMaxMusicCount> MusicTable;
int32_t MusicCount = 0;
int32_t TotalSkill = 0;
int32_t RemainThreshold = 0;
std::vector<SjisString> MusicNames;
std::unique_ptr<TSkillComputer> SkillComputer;
SjisString AppDir;

int32_t& TChartResult::Value(int row, int pos) {
    int32_t* rows[2][9] = {
        {&PerfectPct, &GreatPct, &GoodPct, &PoorPct, &MissPct, &ComboPct, &Reserved, &Rate, &SkillPoint},
        {&PerfectCount, &GreatCount, &GoodCount, &PoorCount, &MissCount, &ComboCount, &InputMode, &TotalNotes,
         &RecvValue},
    };
    return *rows[row][pos];
}

int SongCategory(int32_t code) {
    if (code < 0 || code >= 4000) return CategoryNone;
    return code / 1000;
}

void ClearMusicTable() {
    for (TMusicList& music : MusicTable)
        music = TMusicList{};
}
