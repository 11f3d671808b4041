#include "data/Recalc.h"

#include "data/Rounding.h"
#include "data/SkillCmp.h"

#include <utility>

namespace {

// One work array of (table index, key) entries, reused for every category;
// nothing is allocated per call.
struct RankEntry {
    int32_t Index; // -1 for a song outside the category
    int32_t Key;   // BestSkill
};
RankEntry RankWork[kMaxMusicCount];

// Points x 100 from a rate x 100; 0 without a rate or without the chart.
int32_t SkillFromStoredRate(int32_t rate, int32_t level) {
    if (rate == 0 || level == 0) return 0;
    return TruncToInt32(static_cast<long double>(CalcSkillFromRate(level, rate)) / 100);
}

} // namespace

void RecalcChart(TChartResult& chart, int32_t level) {
    switch (chart.InputMode) {
    case InputLegacy:
        chart.Rate = WrapMul(chart.Rate, 100);
        chart.InputMode = InputRate;
        [[fallthrough]];
    case InputRate:
        if (RoundHalfEven(chart.Rate, 100) > 100) chart.Rate = 0; // 10050 stays, 10051 goes
        chart.SkillPoint = SkillFromStoredRate(chart.Rate, level);
        break;
    case InputPercents:
        chart.Rate = TruncScaled(CalcRateFromPercents(chart.PerfectPct, chart.GreatPct, chart.GoodPct,
                                                      chart.PoorPct, chart.MissPct, chart.ComboPct),
                                 100);
        chart.SkillPoint = SkillFromStoredRate(chart.Rate, level);
        break;
    case InputCounts:
        chart.Rate = TruncScaled(CalcRateFromCounts(chart.PerfectCount, chart.GreatCount, chart.GoodCount,
                                                    chart.PoorCount, chart.MissCount, chart.ComboCount,
                                                    chart.TotalNotes),
                                 10000);
        if (chart.Rate == 0 || level == 0) {
            chart.SkillPoint = 0;
        } else {
            chart.SkillPoint = TruncToInt32(static_cast<long double>(
                SkillComputer->SkillFromCounts(chart.PerfectCount, chart.GreatCount, chart.GoodCount,
                                               chart.PoorCount, chart.MissCount, chart.ComboCount, level)));
        }
        break;
    default:
        break;
    }
}

void PickBestChart(TSkillList& skills) {
    skills.BestCode = 0;
    skills.BestSkill = 0;
    skills.BestChart = -1;
    for (int c = 0; c < ChartCount(); ++c) {
        if (skills.Chart[c].SkillPoint > skills.BestSkill) {
            skills.BestCode = c + 4;
            skills.BestSkill = skills.Chart[c].SkillPoint;
            skills.BestChart = c;
        }
    }
}

int32_t RankCategory(int32_t lo, int32_t hi, int32_t counted) {
    // Songs outside the category stay in the array as (-1, 0) fillers: they
    // take part in the exchanges and so decide the order among 0-point songs.
    const int32_t n = MusicCount;
    for (int32_t i = 0; i < n; ++i) {
        const TMusicList& music = MusicTable[i];
        const bool inCategory = lo <= music.Code && music.Code <= hi;
        RankWork[i] = inCategory ? RankEntry{music.Index, music.SkillList.BestSkill} : RankEntry{-1, 0};
    }

    // This exact exchange sort, not a library sort: the order it leaves among
    // equal points shows in the ranks, in which tied song counts and in the
    // exports.
    for (int32_t i = 0; i < n - 1; ++i)
        for (int32_t j = i; j < n; ++j)
            if (RankWork[i].Key < RankWork[j].Key) std::swap(RankWork[i], RankWork[j]);

    int32_t rank = 1;
    for (int32_t i = 0; i < n; ++i)
        if (RankWork[i].Index >= 0) MusicTable[RankWork[i].Index].SkillList.Rank = rank++;

    int32_t sum = 0;
    int32_t k = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (RankWork[i].Index < 0) continue;
        TSkillList& skills = MusicTable[RankWork[i].Index].SkillList;
        if (k < counted)
            sum = WrapAdd(sum, skills.BestSkill);
        else if (skills.BestCode != 0)
            skills.BestCode = (skills.BestCode - 1) % 3 + 1; // difficulty of the best chart + 1
        ++k;
    }
    return sum;
}

int32_t RecalcAllSkills() {
    for (int32_t i = 0; i < MusicCount; ++i) {
        TMusicList& music = MusicTable[i];
        for (int c = 0; c < ChartCount(); ++c)
            RecalcChart(music.SkillList.Chart[c], music.Level[c]);
        PickBestChart(music.SkillList);
    }
    int32_t total = 0;
    for (const CategoryRange& category : kRankedCategories)
        total = WrapAdd(total, RankCategory(category.Lo, category.Hi, category.Counted));
    TotalSkill = total;
    return TotalSkill;
}
