#include "ui/SongListTexts.h"

#include "data/NumberText.h"
#include "data/TextHelpers.h"
#include "platform/Cp932.h"

#include <string>

SjisString RowKeyText(int32_t index) {
    return PadLeft(std::to_string(index), 3);
}

SjisString LevelText(int32_t level) {
    return level == 0 ? SjisString("--") : std::to_string(level);
}

SjisString SkillColumnText(int32_t bestSkill) {
    return PadLeft(HundredthsText(bestSkill), 5);
}

SjisString InformationText(int32_t code, int32_t bestCode) {
    static const SjisString kNone = Utf8ToSjis("　　　   ---");
    // Codes 1..3 name the difficulty only; the NEW group puts its blank after the full-width space.
    static const SjisString kNoModeNew = Utf8ToSjis("　 ----   ");
    static const SjisString kNoMode = Utf8ToSjis(" 　----   ");
    static const char* const kModes[3] = {"STANDARD", "BASS    ", "OPENPICK"};
    static const char* const kLevels[3] = {"BAS", "ADV", "EXT"};

    if (bestCode < 1 || bestCode > 12) return kNone;
    const int32_t group = code / 1000; // truncated toward zero
    const char* prefix = group == 1 ? "  NEW" : group == 2 ? " LONG" : group == 3 ? "NONSTOP" : "EXIST";
    if (bestCode <= 3) return prefix + (group == 1 ? kNoModeNew : kNoMode) + kLevels[bestCode - 1];
    const int chart = bestCode - 4;
    return SjisString(prefix) + " " + kModes[chart / 3] + " " + kLevels[chart % 3];
}

std::vector<SjisString> MainRowTexts(const TMusicList& song, int chartCount) {
    std::vector<SjisString> texts;
    texts.reserve(static_cast<std::size_t>(chartCount) + 7);
    texts.push_back(RowKeyText(song.Index));
    texts.push_back(song.Name);
    texts.push_back(song.Bpm);
    for (int c = 0; c < chartCount; ++c)
        texts.push_back(LevelText(song.Level[static_cast<std::size_t>(c)]));
    texts.push_back(SkillColumnText(song.SkillList.BestSkill));
    texts.push_back(InformationText(song.Code, song.SkillList.BestCode));
    texts.push_back(song.Comment);
    texts.push_back(song.UpdateTime);
    return texts;
}

SjisString WholePercentText(int32_t rate) {
    return std::to_string(rate / 100);
}

SjisString ShownCountText(int shown, int total) {
    static const SjisString kLabel = Utf8ToSjis(" 該当件数：");
    return kLabel + std::to_string(shown) + "/" + std::to_string(total);
}

bool IsSongShown(const TMusicList& song, const DisplayToggles& toggles) {
    if (toggles.All) return true;
    if (toggles.Favorite && song.Favorite) return true;
    bool anyKind = false;
    for (std::size_t k = 0; k < toggles.Kind.size(); ++k) {
        if (!song.Flags[k]) continue;
        anyKind = true;
        if (toggles.Kind[k]) return true;
    }
    return toggles.Normal && !anyKind;
}
