#include "data/DataFiles.h"

#include "data/DataUnit.h"
#include "data/TextHelpers.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/IntConv.h"

#include <charconv>
#include <exception>
#include <unordered_map>
#include <unordered_set>

namespace {

bool loadComplete = false;

constexpr int kMusicSplitLimit = 25;
constexpr int kDataSplitLimit = 255;

// Positions in a chart row of the eight stored values, in file order.
constexpr int kStoredPos[8] = {0, 1, 2, 3, 4, 5, 7, 6};
// Legacy lines hold the first seven of them.
constexpr int kLegacyValues = 7;

std::string PathOf(const SjisString& base, const char* extension) {
    return AppDir + base + extension;
}

// First table index of each song name, as every lookup by name takes the first entry.
class NameIndex {
  public:
    NameIndex() {
        for (int32_t i = 0; i < MusicCount; ++i)
            first_.try_emplace(MusicTable[i].Name, i);
    }
    int32_t Find(std::string_view name) const {
        auto it = first_.find(name);
        return it == first_.end() ? -1 : it->second;
    }

  private:
    std::unordered_map<std::string_view, int32_t> first_;
};

// Splits each line of a results or comments file into `fields` and hands it
// on with the table index of the first song of its name; lines with a blank
// name or a name no song has are passed over.
template <typename Handler> void ForEachSongLine(std::string_view bytes, FieldArray& fields, Handler handle) {
    const NameIndex names;
    ForEachLine(bytes, [&](std::string_view line) {
        SplitDataLine(line, fields);
        if (TrimText(fields[0]).empty()) return;
        const int32_t index = names.Find(fields[0]);
        if (index >= 0) handle(line, index);
    });
}

// A checked numeric field: anything but plain digits reads as 0.
int32_t CheckedValue(const SjisString& field) {
    return IsDigits(field) ? StrToInt(field) : 0;
}

void AppendInt(std::string& out, int32_t value) {
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

const char* kCrLf = "\r\n";

// A later line of the same name would overwrite the first song's results or
// comment at the next load, so the player's files hold only the first song
// of each name.
template <typename Write> void ForEachFirstSongOfName(Write write) {
    std::unordered_set<std::string_view> written;
    for (int32_t i = 0; i < MusicCount; ++i)
        if (written.insert(MusicTable[i].Name).second) write(MusicTable[i]);
}

} // namespace

void SplitFields(std::string_view text, char separator, FieldArray& fields, int limit) {
    for (SjisString& field : fields)
        field.clear();
    std::size_t n = 0;
    std::string_view rest = text;
    for (;;) {
        std::size_t cut = rest.find(separator);
        if (cut == std::string_view::npos) break;
        // Pieces past the end of the array are dropped, not written beyond it.
        if (n >= fields.size()) return;
        fields[n].assign(rest.substr(0, cut));
        rest.remove_prefix(cut + 1);
        ++n;
        if (n > static_cast<std::size_t>(limit)) break;
    }
    if (n < fields.size()) fields[n].assign(rest);
}

void SplitMusicLine(std::string_view line, FieldArray& fields) {
    SplitFields(line, line.find('\t') != std::string_view::npos ? '\t' : ',', fields, kMusicSplitLimit);
}

void SplitDataLine(std::string_view line, FieldArray& fields) {
    SplitFields(line, line.find('\t') != std::string_view::npos ? '\t' : ',', fields, kDataSplitLimit);
}

int MusicFieldCapacity(const Edition& layout) {
    return 32 + layout.ChartCount;
}
int SkillFieldCapacity() {
    return 16 * ChartCount() + 11;
}
int CommentFieldCapacity() {
    return 16 * ChartCount() + 1;
}

MusicListTooLong::MusicListTooLong()
    : AppError(Utf8ToSjis("曲リストが501曲を超えています。502曲目以降は読み込まれません。")) {}

bool DataLoadComplete() {
    return loadComplete;
}
void SetDataLoadComplete(bool complete) {
    loadComplete = complete;
}

void LoadMusicList(const SjisString& base) {
    loadComplete = false;
    MusicCount = 0;
    MusicNames.clear();
    std::string bytes;
    if (!ReadWholeFile(PathOf(base, ".txt"), bytes)) return;

    const int charts = ChartCount();
    const int flagField = 2 + charts;
    const int shortField = flagField + kFlagCount;
    FieldArray f(static_cast<std::size_t>(MusicFieldCapacity()));
    ForEachLine(bytes, [&](std::string_view line) {
        SplitMusicLine(line, f);
        if (TrimText(f[0]).empty()) return;
        if (MusicCount >= kMaxMusicCount) throw MusicListTooLong();

        // Converted before the entry is touched, so a failing line leaves no half song.
        std::array<int32_t, kMaxChartCount> level{};
        for (int c = 0; c < charts; ++c)
            level[c] = CheckedValue(f[2 + c]);
        const int32_t code = StrToInt(f[shortField + 2]);

        TMusicList& music = MusicTable[MusicCount];
        music.Name = f[0];
        music.Bpm = f[1];
        music.Level = level;
        for (int k = 0; k < kFlagCount; ++k)
            music.Flags[k] = f[flagField + k] == "1";
        music.ShortName = f[shortField];
        music.Memo = f[shortField + 1];
        music.Code = code;
        music.Index = MusicCount;
        MusicNames.push_back(music.Name);
        ++MusicCount;
    });
}

void LoadSkillData(const SjisString& base) {
    loadComplete = false;
    for (int32_t i = 0; i < MusicCount; ++i) {
        TSkillList& skill = MusicTable[i].SkillList;
        skill.Name.clear();
        skill.Index = -1;
        skill.Chart.fill(TChartResult{});
        skill.Rank = 0;
        skill.BestCode = 0;
        skill.BestSkill = 0;
    }
    std::string bytes;
    if (!ReadWholeFile(PathOf(base, kSkillFileExtension), bytes)) return;

    const int charts = ChartCount();
    FieldArray f(static_cast<std::size_t>(SkillFieldCapacity()));
    ForEachSongLine(bytes, f, [&](std::string_view line, int32_t index) {
        TSkillList& skill = MusicTable[index].SkillList;
        skill.Name = f[0];
        skill.Index = index;

        // The marker is the last byte of the whole line.
        const char marker = line.back();
        if (marker != '$' && marker != '#') return;
        const int perChart = marker == '$' ? 8 : kLegacyValues;
        for (int row = 0; row < 2; ++row) {
            for (int c = 0; c < charts; ++c) {
                TChartResult& chart = skill.Chart[c];
                for (int k = 0; k < perChart; ++k)
                    chart.Value(row, kStoredPos[k]) =
                        CheckedValue(f[1 + row * perChart * charts + perChart * c + k]);
                if (marker == '#') {
                    chart.Reserved = 0;
                    chart.InputMode = InputLegacy;
                }
            }
        }
    });
}

void LoadFavorites(const SjisString& base) {
    loadComplete = false;
    for (int32_t i = 0; i < MusicCount; ++i)
        MusicTable[i].Favorite = false;
    std::string bytes;
    if (!ReadWholeFile(PathOf(base, kFavoriteFileExtension), bytes)) return;

    const NameIndex names;
    ForEachLine(bytes, [&](std::string_view line) {
        const int32_t index = names.Find(TrimText(SjisString(line)));
        if (index >= 0) MusicTable[index].Favorite = true;
    });
}

void LoadComments(const SjisString& base) {
    loadComplete = false;
    for (int32_t i = 0; i < MusicCount; ++i) {
        MusicTable[i].Comment.clear();
        MusicTable[i].UpdateTime.clear();
        MusicTable[i].Changed = false;
    }
    std::string bytes;
    if (!ReadWholeFile(PathOf(base, kCommentFileExtension), bytes)) return;

    FieldArray f(static_cast<std::size_t>(CommentFieldCapacity()));
    ForEachSongLine(bytes, f, [&](std::string_view, int32_t index) {
        TMusicList& music = MusicTable[index];
        music.Comment = f[1];
        music.UpdateTime = f[2];
        music.Changed = f[3] == "1";
    });
}

void SaveMusicList(const SjisString& base) {
    if (!loadComplete) return;
    const int charts = ChartCount();
    std::string out;
    for (int32_t i = 0; i < MusicCount; ++i) {
        const TMusicList& music = MusicTable[i];
        // The name is the key of the player's files and is written as held;
        // the other texts must not break the line apart.
        out += music.Name;
        out += '\t';
        out += SanitizeFieldText(music.Bpm);
        for (int c = 0; c < charts; ++c) {
            out += '\t';
            AppendInt(out, music.Level[c]);
        }
        for (int k = 0; k < kFlagCount; ++k)
            out += music.Flags[k] ? "\t1" : "\t0";
        out += '\t';
        out += SanitizeFieldText(music.ShortName);
        out += '\t';
        out += SanitizeFieldText(music.Memo);
        out += '\t';
        AppendInt(out, music.Code);
        out += kCrLf;
    }
    WriteFileAtomic(PathOf(base, ".txt"), out);
}

void SaveSkillData(const SjisString& base) {
    if (!loadComplete) return;
    const int charts = ChartCount();
    std::string out;
    out.reserve(static_cast<std::size_t>(MusicCount) * (64 + 16 * charts * 3));
    ForEachFirstSongOfName([&](const TMusicList& music) {
        out += music.Name;
        out += '\t';
        for (int row = 0; row < 2; ++row) {
            for (int c = 0; c < charts; ++c) {
                for (int k = 0; k < 8; ++k) {
                    AppendInt(out, music.SkillList.Chart[c].Value(row, kStoredPos[k]));
                    out += '\t';
                }
            }
        }
        out += '$';
        out += kCrLf;
    });
    WriteFileAtomic(PathOf(base, kSkillFileExtension), out);
}

void SaveFavorites(const SjisString& base) {
    if (!loadComplete) return;
    std::string out;
    for (int32_t i = 0; i < MusicCount; ++i) {
        if (!MusicTable[i].Favorite) continue;
        out += MusicTable[i].Name;
        out += kCrLf;
    }
    WriteFileAtomic(PathOf(base, kFavoriteFileExtension), out);
}

void SaveComments(const SjisString& base) {
    if (!loadComplete) return;
    std::string out;
    ForEachFirstSongOfName([&](const TMusicList& music) {
        out += music.Name;
        out += '\t';
        out += SanitizeFieldText(music.Comment);
        out += '\t';
        out += SanitizeFieldText(music.UpdateTime);
        out += music.Changed ? "\t1" : "\t0";
        out += kCrLf;
    });
    WriteFileAtomic(PathOf(base, kCommentFileExtension), out);
}

bool LoadAllDataFiles(const SjisString& base) {
    // A master list that stops part-way (a bad song code, more than 501 songs)
    // leaves the songs read before. The player's files are still read for
    // them, so no song keeps the results, comments or changed flag of whatever
    // song held its index before a reload; nothing is written back meanwhile.
    std::exception_ptr musicListError;
    try {
        LoadMusicList(base);
    } catch (const AppError&) {
        musicListError = std::current_exception();
    }
    LoadSkillData(base);
    LoadFavorites(base);
    LoadComments(base);
    if (musicListError) std::rethrow_exception(musicListError);
    loadComplete = MusicCount >= 1 && MusicCount <= kMaxMusicCount;
    return loadComplete;
}
