#include "ui/TotalBands.h"

#include "platform/Cp932.h"

namespace {

struct Band {
    int32_t From; // lowest Tag of the band
    BandColor Color;
};

// Highest band first; the first whose lower bound the Tag reaches decides.
constexpr Band kBands[] = {
    {130000, {255, 64, 64}},  {120000, {255, 128, 64}}, {110000, {255, 255, 64}}, {100000, {64, 255, 64}},
    {80000, {128, 255, 255}}, {60000, {96, 128, 255}},  {40000, {255, 64, 255}},  {20000, {255, 192, 255}},
};
constexpr BandColor kBelowAll = {255, 255, 255};

} // namespace

BandColor TotalBandColor(int32_t tag) {
    for (const Band& band : kBands)
        if (tag >= band.From) return band.Color;
    return kBelowAll;
}

SjisString TotalHint(const SjisString& totalText) {
    static const SjisString kCaption = Utf8ToSjis("予想スキルポイント：");
    return kCaption + totalText;
}
