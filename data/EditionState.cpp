#include "data/Edition.h"

namespace {
Edition current{"GuitarFreaksV3", "GFV3", 3, 9, "", "LIGHT"};
}

const Edition& CurrentEdition() { return current; }
void SetEdition(const Edition& edition) { current = edition; }
