#include "ui/AdviceRules.h"

#include "data/NumberText.h"
#include "data/Rounding.h"
#include "data/TextHelpers.h"
#include "ui/SongListTexts.h"

int64_t RoundedPercent(int32_t rate) {
    return RoundHalfEven(static_cast<int64_t>(rate), 100);
}

int32_t RemainingPoints(int32_t rate, int32_t level) {
    // (100 - p) x (L + 1) / 2 is exact as a fraction over 2; the product stays
    // far inside 64 bits for any 32-bit rate and level.
    const int64_t missing = 100 - RoundedPercent(rate);
    const int64_t doubled = missing * (static_cast<int64_t>(level) + 1);
    return static_cast<int32_t>(RoundHalfEven(doubled, 2));
}

AdviceVerdict JudgeAdvice(const TMusicList& song, int condition, int32_t threshold) {
    const TSkillList& skills = song.SkillList;
    const bool hasBest = skills.BestChart >= 0 && skills.BestChart < kMaxChartCount;
    AdviceVerdict verdict;
    if (!hasBest) {
        verdict.Match = condition < AdviceNearTop || condition > AdviceRemaining;
        return verdict;
    }
    const auto best = static_cast<std::size_t>(skills.BestChart);
    const TChartResult& chart = skills.Chart[best];
    const int32_t level = song.Level[best];
    const int32_t r = chart.Rate;
    const int32_t remain = RemainingPoints(r, level);
    switch (condition) {
    case AdviceNearTop:
        verdict = {r >= 9000, remain};
        break;
    case AdviceFullCombo:
        verdict = {r >= 8000 && chart.ComboPct < 100, remain};
        break;
    case AdviceSRank:
        verdict = {r >= 7500 && r < 8000, remain};
        break;
    case AdvicePractice:
        verdict = {r > 5000 && r < 7500, remain};
        break;
    case AdviceRemaining:
        // (L + 1) / 2 x 100 is a whole number, so the rounding changes nothing.
        if ((static_cast<int64_t>(level) + 1) * 50 > static_cast<int64_t>(threshold))
            verdict = {true, remain};
        break;
    default:
        verdict = {true, remain};
        break;
    }
    return verdict;
}

std::vector<SjisString> AdviceRowTexts(const TMusicList& song, int chartCount) {
    const TSkillList& skills = song.SkillList;
    std::vector<SjisString> texts;
    texts.reserve(4 + 5 * static_cast<std::size_t>(chartCount));
    texts.push_back(RowKeyText(song.Index));
    texts.push_back(song.Name);
    texts.push_back(PadLeft(HundredthsText(skills.Remain), 5));
    texts.push_back(FormatInt3(skills.Rank));
    for (int c = 0; c < chartCount; ++c) {
        const auto i = static_cast<std::size_t>(c);
        const TChartResult& chart = skills.Chart[i];
        texts.push_back(FormatInt3(song.Level[i]));
        texts.push_back(FormatInt3(chart.PerfectPct) + "/" + FormatInt3(chart.GreatPct) + "/" +
                        FormatInt3(chart.GoodPct) + "/" + FormatInt3(chart.PoorPct) + "/" +
                        FormatInt3(chart.MissPct));
        texts.push_back(FormatInt3(chart.ComboPct));
        texts.push_back(FormatInt3(RoundedPercent(chart.Rate)));
        texts.push_back(PadLeft(HundredthsText(chart.SkillPoint), 5));
    }
    return texts;
}
