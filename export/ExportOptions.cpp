#include "export/ExportOptions.h"

SjisString BoolToFlagStr(bool value) {
    return value ? "1" : "0";
}

bool FlagStrToBool(const SjisString& text) {
    return text == "1";
}

int ClampRadioIndex(int index, int count) {
    if (index < -1) return -1;
    if (index >= count) return count - 1;
    return index;
}

int DropDownIndex(int index, int count) {
    return index >= 0 && index < count ? index : -1;
}
