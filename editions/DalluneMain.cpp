#include "data/Edition.h"
#include "ui/ProgramMain.h"

int main(int argc, char** argv) {
    SetEdition(DrumEdition());
    return ProgramMain(argc, argv);
}
