#include "data/MusicListCheck.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/TextHelpers.h"
#include "platform/AtomicFile.h"
#include "platform/IntConv.h"

#include <exception>

int CountMusicListSongs(std::string_view bytes, const Edition& layout) {
    const int charts = layout.ChartCount;
    const int codeField = 2 + charts + kFlagCount + 2;
    FieldArray fields(static_cast<std::size_t>(MusicFieldCapacity(layout)));
    int songs = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        SplitMusicLine(line, fields);
        if (TrimText(fields[0]).empty()) return;
        ++songs;
        if (songs > kMaxMusicCount) return; // the count alone decides from here
        for (int c = 0; c < charts; ++c)
            if (IsDigits(fields[2 + c])) StrToInt(fields[2 + c]);
        StrToInt(fields[codeField]);
    });
    return songs;
}

bool IsUsableMusicList(std::string_view bytes, const Edition& layout) {
    // The reader refuses a larger file outright.
    if (bytes.size() > kLocalFileLimit) return false;
    try {
        const int songs = CountMusicListSongs(bytes, layout);
        return songs >= 1 && songs <= kMaxMusicCount;
    } catch (const std::exception&) {
        return false;
    }
}
