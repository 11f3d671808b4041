#pragma once

#include "data/Edition.h"
#include "platform/SjisString.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TSkillComputer;

// One chart's result: eighteen 32-bit values in two rows of nine. The results
// file stores them in this order.
struct TChartResult {
    // row 0
    int32_t PerfectPct = 0;
    int32_t GreatPct = 0;
    int32_t GoodPct = 0;
    int32_t PoorPct = 0;
    int32_t MissPct = 0;
    int32_t ComboPct = 0;
    int32_t Reserved = 0;
    int32_t Rate = 0;       // achievement rate x 100
    int32_t SkillPoint = 0; // skill points x 100, never stored in a file
    // row 1
    int32_t PerfectCount = 0;
    int32_t GreatCount = 0;
    int32_t GoodCount = 0;
    int32_t PoorCount = 0;
    int32_t MissCount = 0;
    int32_t ComboCount = 0;
    int32_t InputMode = 0; // 0 legacy, 1 rate, 2 percentages, 3 counts
    int32_t TotalNotes = 0;
    int32_t RecvValue = 0;

    // The eighteen values by row (0/1) and position (0..8), in file order.
    int32_t& Value(int row, int pos);
    int32_t Value(int row, int pos) const { return const_cast<TChartResult*>(this)->Value(row, pos); }
};

// Input modes of TChartResult::InputMode.
enum : int32_t { InputLegacy = 0, InputRate = 1, InputPercents = 2, InputCounts = 3 };

struct TSkillList {
    SjisString Name;
    int32_t Index = 0;
    std::array<TChartResult, kMaxChartCount> Chart{}; // ChartCount() of them are used
    int32_t Rank = 0;
    int32_t BestCode = 0;
    int32_t BestSkill = 0;
    int32_t BestChart = 0;
    bool Match = false;
    int32_t Remain = 0;
};

constexpr int kFlagCount = 10;

struct TMusicList {
    int32_t Code = 0;
    SjisString Name;
    SjisString ShortName;
    SjisString Memo;
    SjisString Bpm;
    std::array<int32_t, kMaxChartCount> Level{}; // 0: the song has no such chart
    std::array<bool, kFlagCount> Flags{};
    int32_t Index = 0;
    TSkillList SkillList;
    bool Favorite = false;
    SjisString Comment;
    SjisString UpdateTime; // "mm/dd hh:nn"
    bool Changed = false;
};

constexpr int kMaxMusicCount = 501;

// Song categories by code; -1 for a song of no category.
enum SongCategoryId {
    CategoryNone = -1,
    CategoryExisting = 0,
    CategoryNew = 1,
    CategoryLong = 2,
    CategoryNonStop = 3
};
int SongCategory(int32_t code);

// The one table and its globals; they live for the whole run.
extern std::array<TMusicList, kMaxMusicCount> MusicTable;
extern int32_t MusicCount;
extern int32_t TotalSkill;
extern int32_t RemainThreshold;
extern std::vector<SjisString> MusicNames;
// The formula object: made by the main window's creation handler, freed by
// its destruction handler.
extern std::unique_ptr<TSkillComputer> SkillComputer;
extern SjisString AppDir; // with a trailing "/"

// Resets all 501 entries; leaves MusicCount, MusicNames and the other globals alone.
void ClearMusicTable();

// Chart index helpers: c = play mode * 3 + difficulty.
inline int ChartDifficulty(int chart) {
    return chart % 3;
}
inline int ChartPlayMode(int chart) {
    return chart / 3;
}
