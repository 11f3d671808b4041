#include "data/Edition.h"

#include "platform/Cp932.h"

namespace {
Edition current{"GuitarFreaksV3", "GFV3", 3, 9, "", "LIGHT"};
}

const Edition& GuitarEdition() {
    static const Edition edition{"GuitarFreaksV3", "GFV3", 3, 9, Utf8ToSjis("ギタフリのPelorin.NET"),
                                 "LIGHT"};
    return edition;
}

const Edition& DrumEdition() {
    static const Edition edition{"DrumManiaV3", "DMV3", 1, 3, Utf8ToSjis("ドラマニのPelorin.NET"), "AUTO"};
    return edition;
}

const Edition& CurrentEdition() {
    return current;
}
void SetEdition(const Edition& edition) {
    current = edition;
}
