#pragma once

#include "data/DataUnit.h"
#include "platform/SjisString.h"

#include <array>
#include <cstdint>
#include <vector>

// What the song list shows, decided without widgets.

// The row key: the table index right-aligned in three characters.
SjisString RowKeyText(int32_t index);

// A level column: the level in decimal, "--" for a chart the song does not have.
SjisString LevelText(int32_t level);

// The SKILL column: "%3.2f" of the best skill points, right-aligned in five characters.
SjisString SkillColumnText(int32_t bestSkill);

// The Information column: the song's group (by code / 1000) and its best-chart code.
SjisString InformationText(int32_t code, int32_t bestCode);

// All texts of one song-list row in column order: ID, name, BPM, the levels of
// the edition's charts, SKILL, Information, comment, update time.
std::vector<SjisString> MainRowTexts(const TMusicList& song, int chartCount);

// A batch-grid rate cell: the rate as a whole percent, truncated toward zero.
SjisString WholePercentText(int32_t rate);

// Status panel 0: " 該当件数：" shown "/" total.
SjisString ShownCountText(int shown, int total);

// The down states of the display toggles.
struct DisplayToggles {
    bool All = true;
    bool Favorite = false;
    bool Normal = false;
    std::array<bool, 9> Kind{}; // btnDisp0 ... btnDisp8, by song-kind flag
};

// Whether the song list shows a song under the toggles. Flag 9 takes part in no rule.
bool IsSongShown(const TMusicList& song, const DisplayToggles& toggles);
