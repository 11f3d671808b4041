#include "ui/AdviceCopy.h"

#include "platform/Cp932.h"

SjisString BestCodeLabel(int32_t bestCode) {
    static const char* const kLabels[13] = {"---",    "BSC",    "ADV",    "EXT",    "BSC",    "ADV",   "EXT",
                                            "BSC<B>", "ADV<B>", "EXT<B>", "BSC<O>", "ADV<O>", "EXT<O>"};
    if (bestCode < 0 || bestCode > 12) return kLabels[0];
    return kLabels[bestCode];
}

SjisString AdviceCopyText(AdviceCopyKind kind, const std::vector<AdviceCopyRow>& rows) {
    static const SjisString kName = Utf8ToSjis("曲名");
    static const SjisString kRemain = Utf8ToSjis("残SP");
    const SjisString eol = "\r\n";

    SjisString text;
    switch (kind) {
    case AdviceCopyKind::Names:
        text = kName;
        break;
    case AdviceCopyKind::LevelsAndNames:
        text = "LV\t" + kName;
        break;
    case AdviceCopyKind::PointsLevelsAndNames:
        text = kRemain + "\tLV\t" + kName;
        break;
    }
    text += eol + SjisString(24, '-') + eol;
    for (const AdviceCopyRow& row : rows) {
        if (kind == AdviceCopyKind::PointsLevelsAndNames) text += row.Points + "\t";
        if (kind != AdviceCopyKind::Names) text += BestCodeLabel(row.BestCode) + "\t";
        text += row.Name + eol;
    }
    return text;
}
