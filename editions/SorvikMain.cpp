#include "data/Edition.h"
#include "ui/ProgramMain.h"

int main(int argc, char** argv) {
    SetEdition(GuitarEdition());
    return ProgramMain(argc, argv);
}
