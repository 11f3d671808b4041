#pragma once

#include "data/DataUnit.h"
#include "platform/SjisString.h"

#include <array>
#include <cstdint>

// What the song lists' pop-up menu, double click and detail panel decide,
// without widgets.

// The chart a double click opens for a song's best-chart code: BASS for 7..9,
// OPEN PICK for 10..12, STANDARD otherwise; the difficulty is (code - 1) mod 3
// with the sign of the dividend, so code 0 (no points) gives -1 (none chosen)
// and codes 1..3 (a song outside its category's counted top) the STANDARD
// chart of their difficulty.
struct ChartToOpen {
    int32_t Difficulty;
    int32_t PlayMode;
};
ChartToOpen BestChartToOpen(int32_t bestCode);

// The difficulty a result-entry menu item opens: its Tag 1, 2, 3 is BSC, ADV, EXT.
int32_t MenuItemDifficulty(int32_t tag);

// mnBAS, mnADV, mnEXT enabled: the song has that STANDARD chart. All off
// without a song, whatever play mode the detail panel shows.
std::array<bool, 3> ResultEntryItemsEnabled(const TMusicList* song);

// The chart each detail frame (BSC, ADV, EXT) shows in a play mode, or -1 for
// a frame that stays inactive and empty: the song lacks that chart.
std::array<int, 3> DetailCharts(const TMusicList& song, int32_t playMode, int chartCount);

// The song name caption of the detail panel: name, LF CR LF CR, short name.
SjisString DetailNameText(const TMusicList& song);

// LVmain's SKILL column in an edition with chartCount charts; the comment and
// update-time columns follow the Information column after it.
int MainSkillColumn(int chartCount);
