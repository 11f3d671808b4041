#include "ui/FilterRules.h"

void AllToggleClicked(DisplayToggles& toggles) {
    const bool others = !toggles.All;
    toggles.Favorite = others;
    toggles.Normal = others;
    toggles.Kind.fill(others);
}

void KindToggleClicked(DisplayToggles& toggles) {
    bool anyDown = toggles.Favorite || toggles.Normal;
    for (bool down : toggles.Kind)
        anyDown = anyDown || down;
    toggles.All = !anyDown;
}

int32_t PlayModeOfTab(int tab, int playModes) {
    return tab >= 0 && tab < playModes ? tab : 0;
}

int MainLevelChart(int column, int chartCount) {
    return column >= 3 && column < 3 + chartCount ? column - 3 : -1;
}

int SkillLevelChart(int column, int chartCount) {
    return column >= 4 && column < 4 + 5 * chartCount ? (column - 4) / 5 : -1;
}

CellFill LevelCellFill(int chart, int32_t imageIndex) {
    if (imageIndex == chart + 4) return {224, 160, 224};
    switch (chart % 3) {
    case 0:
        return {224, 255, 224}; // BSC
    case 1:
        return {255, 255, 224}; // ADV
    default:
        return {255, 224, 224}; // EXT
    }
}
