#pragma once

#include "ui/SongListTexts.h"

#include <cstdint>

// Display-toggle interlocks, play-mode tabs and the level-cell colours of the
// two song lists, decided without widgets.

// btnDispAll was clicked (its down state already flipped): every other toggle,
// the invisible ones included, is down exactly when btnDispAll is up.
void AllToggleClicked(DisplayToggles& toggles);

// One of the other eleven toggles was clicked: btnDispAll is down exactly when
// none of them is, so at least one toggle is always down.
void KindToggleClicked(DisplayToggles& toggles);

// The play mode shown for a tab of tcPlayMode; a tab beyond the edition's play
// modes gives STANDARD.
int32_t PlayModeOfTab(int tab, int playModes);

// A cell fill as (red, green, blue).
struct CellFill {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    bool operator==(const CellFill&) const = default;
};

// The chart whose level a song-list column shows (column 3 + chart), or -1.
int MainLevelChart(int column, int chartCount);

// The chart of an advice-list column (its five columns start at 4 + 5 x chart), or -1.
int SkillLevelChart(int column, int chartCount);

// The fill of a cell of the chart in a row with that image index: the
// difficulty's colour, or light purple on the counted best chart, whose
// image index is the chart + 4. Codes 0 to 3 mark no chart.
CellFill LevelCellFill(int chart, int32_t imageIndex);
