#include "ui/BatchRules.h"

#include "data/DataUnit.h"
#include "data/TextHelpers.h"
#include "platform/IntConv.h"

std::optional<int32_t> BatchCellRate(const SjisString& text) {
    if (!IsDigits(text)) return std::nullopt;
    const int32_t percent = StrToInt(text);
    if (percent == 0 || percent > 100) return std::nullopt;
    return percent * 100;
}

bool BatchStoresRate(int32_t rate, int32_t storedRate, bool onlyIfRaised) {
    return !onlyIfRaised || rate > storedRate;
}

int32_t FirstSongNamed(const SjisString& name) {
    for (int32_t i = 0; i < MusicCount; ++i)
        if (MusicTable[static_cast<std::size_t>(i)].Name == name) return i;
    return -1;
}
