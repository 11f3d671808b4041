#pragma once

#include "data/Edition.h"
#include "platform/AppError.h"
#include "platform/SjisString.h"

#include <array>
#include <string_view>
#include <vector>

// The four data files of a game in AppDir: the song master list (base +
// ".txt") and the player's results (".skill"), favourites (".favorite") and
// comments (".comment"). Lines end with CR LF when written; a line read ends
// at LF with an optional CR before it. Fields are separated by TAB.

// A reader's field array. Its size is fixed by the reader; fields that a line
// does not reach read as empty text, and fields beyond its size are dropped.
using FieldArray = std::vector<SjisString>;

// Cuts text at separator into fields. After limit + 1 cuts the remainder,
// separators included, goes whole into the next field.
void SplitFields(std::string_view text, char separator, FieldArray& fields, int limit);

// Split at TAB when the line has one, otherwise at ","; limit 25 and 255.
void SplitMusicLine(std::string_view line, FieldArray& fields);
void SplitDataLine(std::string_view line, FieldArray& fields);

// Calls onLine(std::string_view) for each line of a file's bytes. The last
// line may lack the LF but still loses its CR, so its marker or last field
// reads as written.
template <typename F> void ForEachLine(std::string_view bytes, F&& onLine) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        onLine(line);
        pos = end + 1;
    }
}

// Sizes of the readers' field arrays for the current edition.
int SkillFieldCapacity();   // 155 guitar, 59 drum
int CommentFieldCapacity(); // 145 guitar, 49 drum
// The song master list's, also for another edition's layout: 41 guitar, 35 drum.
int MusicFieldCapacity(const Edition& layout = CurrentEdition());

// Raised by LoadMusicList after loading the first 501 songs of a longer list.
class MusicListTooLong : public AppError {
  public:
    MusicListTooLong();
};

// Readers. A missing file is no error: after its reset step the reader leaves
// the table as it is. A file that cannot be read, and a number that is not
// an integer, raise AppError; what was applied before stays applied. Each
// reader clears the load-complete flag.
void LoadMusicList(const SjisString& base);
void LoadSkillData(const SjisString& base);
void LoadFavorites(const SjisString& base);
void LoadComments(const SjisString& base);

// The player's files of a game: results, favourites, comments.
constexpr const char* kSkillFileExtension = ".skill";
constexpr const char* kFavoriteFileExtension = ".favorite";
constexpr const char* kCommentFileExtension = ".comment";
// The same, in the order the exit saves them.
constexpr std::array<const char*, 3> kPlayerFileExtensions = {kSkillFileExtension, kFavoriteFileExtension,
                                                              kCommentFileExtension};

// Writers: replace the file atomically from songs 0..MusicCount-1. They leave
// the file untouched while DataLoadComplete() is false, so a partial table
// never replaces the player's files.
void SaveMusicList(const SjisString& base);
void SaveSkillData(const SjisString& base);
void SaveFavorites(const SjisString& base);
void SaveComments(const SjisString& base);

// Loads the four files in order and sets the load-complete flag when all of
// them loaded without error and the master list held 1 to 501 songs. A master
// list that stops part-way (a bad song code, or MusicListTooLong after 501
// songs) still loads the other three files for the songs it gave, then raises
// its error with the flag left unset. Returns the flag.
bool LoadAllDataFiles(const SjisString& base);

bool DataLoadComplete();
void SetDataLoadComplete(bool complete);
