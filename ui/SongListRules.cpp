#include "ui/SongListRules.h"

ChartToOpen BestChartToOpen(int32_t bestCode) {
    int32_t playMode = 0;
    if (bestCode >= 7 && bestCode <= 9) playMode = 1;
    if (bestCode >= 10 && bestCode <= 12) playMode = 2;
    // C++'s remainder takes the sign of the dividend, as the rule wants.
    return {(bestCode - 1) % 3, playMode};
}

int32_t MenuItemDifficulty(int32_t tag) {
    return (tag - 1) % 3;
}

std::array<bool, 3> ResultEntryItemsEnabled(const TMusicList* song) {
    std::array<bool, 3> enabled{};
    if (song == nullptr) return enabled;
    for (std::size_t d = 0; d < enabled.size(); ++d)
        enabled[d] = song->Level[d] > 0;
    return enabled;
}

std::array<int, 3> DetailCharts(const TMusicList& song, int32_t playMode, int chartCount) {
    std::array<int, 3> charts{-1, -1, -1};
    if (playMode < 0) return charts;
    for (int d = 0; d < 3; ++d) {
        const int64_t chart = int64_t{playMode} * 3 + d;
        if (chart < chartCount && song.Level[static_cast<std::size_t>(chart)] > 0)
            charts[static_cast<std::size_t>(d)] = static_cast<int>(chart);
    }
    return charts;
}

SjisString DetailNameText(const TMusicList& song) {
    return song.Name + "\n\r\n\r" + song.ShortName;
}

int MainSkillColumn(int chartCount) {
    return 3 + chartCount;
}
