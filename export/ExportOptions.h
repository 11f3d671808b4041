#pragma once

#include "platform/SjisString.h"

// The export options as the dialog's controls hold them. Choices are item
// indices; -1 (or any index the builders do not know) means "no item chosen",
// which only a hand-edited settings file can produce: the piece that choice
// decides is then left out.

// Page "テキスト出力".
struct TextExportOptions {
    int Destination = 0;     // 0 text file, 1 clipboard; changes only the confirmation
    bool OtherSongs = false; // also list the songs after the counted top
    int NameChoice = 0;      // 0 Name, 1 ShortName
    int Separator = 0;       // 0 "、" after each entry, 1 CR LF after each entry
    int Layout = 0;          // 0..6, see TextEntry
    int Grouping = 0;        // 0 none, 1 play-rank bands
    int LabelSet = 0;        // 0 "BAS,ADV,EXT", 1 "緑、黄、赤"
    int Rate100 = 0;         // 0 "100%", 1 "MAX"
    int Rate0 = 0;           // 0 "0%", 1 "未プレイ"
};

// Page "HTML出力".
struct HtmlExportOptions {
    bool LevelLabel = true;
    bool LevelNumber = true;
    bool Grade = true;
    bool Combo = true;
    bool Result = false;
    bool Rate = true;
    bool SkillPoints = false;
    bool Comment = false;
    bool OtherSongs = false;
    int NameChoice = 0; // 0 Name, 1 ShortName
    int LabelSet = 0;   // 0 "BAS,ADV,EXT", 1 "緑、黄、赤"
    int Rate100 = 0;    // 0 "100", 1 "MAX"
    int Rate0 = 0;      // 0 "0", 1 "未プレイ"
};

struct ExportOptions {
    TextExportOptions Text;
    HtmlExportOptions Html;
    bool DatedFileName = false; // "_mmddhhnn" after the base name
};

// Settings-file values of the export dialog: check boxes are "1" or "0".
SjisString BoolToFlagStr(bool value);
// Ticked exactly when the stored text is "1" ("TRUE" leaves the box unticked).
bool FlagStrToBool(const SjisString& text);

// A radio group of `count` items takes an index below -1 as -1 and one beyond
// its last item as the last item.
int ClampRadioIndex(int index, int count);
// A drop-down list shows no item for an index outside its items.
int DropDownIndex(int index, int count);
