#include "editions/Editions.h"

#include <cstdio>

int main() {
    SetEdition(GuitarEdition());
    std::puts("The windows are not built yet.");
    return 0;
}
