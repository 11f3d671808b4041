#include "editions/Editions.h"

#include <cstdio>

int main() {
    SetEdition(DrumEdition());
    std::puts("The windows are not built yet.");
    return 0;
}
