#pragma once

#include "platform/SjisString.h"

// The settings that make one edition of the program. Everything else is
// shared; every chart loop is bounded by ChartCount().
struct Edition {
    SjisString GameName;        // base name of the data files, ini section of the weights
    SjisString GameCode;        // sent to the web service
    int PlayModes = 1;          // 3 guitar, 1 drum
    int ChartCount = 3;         // PlayModes * 3 difficulties
    SjisString AppTitle;        // caption of every message box
    SjisString HalfRateCaption; // caption of the result dialog's half-rate toggle
};

constexpr int kMaxChartCount = 9;

// The two editions. A program picks its own at start; the update check reads
// the song lists of both.
const Edition& GuitarEdition();
const Edition& DrumEdition();

// The edition in force for this process. Programs set it once at start; tests
// switch it between cases.
const Edition& CurrentEdition();
void SetEdition(const Edition& edition);

inline int ChartCount() {
    return CurrentEdition().ChartCount;
}
