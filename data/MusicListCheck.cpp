#include "data/MusicListCheck.h"

#include "data/DataFiles.h"
#include "data/DataUnit.h"
#include "data/TextHelpers.h"
#include "platform/IntConv.h"

#include <exception>

int CountMusicListSongs(std::string_view bytes, const Edition& layout) {
    const int charts = layout.ChartCount;
    const int codeField = 2 + charts + FlagCount + 2;
    // The reader's field array for that layout (MusicFieldCapacity of its edition).
    FieldArray fields(static_cast<std::size_t>(32 + charts));
    int songs = 0;

    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // A line ends at LF; a CR before it, or at the very end, is dropped, as the reader has it.
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = end + 1;

        SplitMusicLine(line, fields);
        if (TrimText(fields[0]).empty()) continue;
        ++songs;
        if (songs > MaxMusicCount) continue; // the count alone decides from here
        for (int c = 0; c < charts; ++c)
            if (IsDigits(fields[2 + c])) StrToInt(fields[2 + c]);
        StrToInt(fields[codeField]);
    }
    return songs;
}

bool IsUsableMusicList(std::string_view bytes, const Edition& layout) {
    try {
        const int songs = CountMusicListSongs(bytes, layout);
        return songs >= 1 && songs <= MaxMusicCount;
    } catch (const std::exception&) {
        return false;
    }
}
