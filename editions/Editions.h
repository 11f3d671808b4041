#pragma once

#include "data/Edition.h"

const Edition& GuitarEdition();
const Edition& DrumEdition();
