#pragma once

#include "data/Edition.h"

#include <string_view>

// Checks a song master list before it may replace the file: the bytes are
// read with the reader's own rules and the given edition's layout, line by
// line, without touching the live table, MusicCount or MusicNames.
// Returns the number of songs read. Raises AppError where the reader would
// (a song code or a checked number that is not a 32-bit integer).
int CountMusicListSongs(std::string_view bytes, const Edition& layout);

// True when the bytes load with the layout and hold 1 to 501 songs, and are
// no larger than the reader takes from a file.
bool IsUsableMusicList(std::string_view bytes, const Edition& layout);
