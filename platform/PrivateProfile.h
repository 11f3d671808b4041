#pragma once

#include "data/SjisString.h"

#include <string>

// Our own private-profile (ini) file: "[section]" lines followed by
// "key=value" lines, code page 932. Every call reads the file afresh; a write
// rewrites it at once, keeping every line it does not change byte for byte.
//
// Rules: section and key names match without regard to ASCII case after
// trimming blanks; the first matching section and the first matching key in
// it win; a value is everything after the first "=", trimmed of blanks, with
// one pair of matching surrounding quotes (' or ") removed; lines starting
// with ";" are comments; there are no inline comments.

// Longest value a read returns, in bytes.
constexpr std::size_t ProfileValueLimit = 2047;

// The value of key in section of the profile text, or `def` when the section
// or key is missing. Cut to ProfileValueLimit bytes.
SjisString ProfileLookup(const std::string& text, const SjisString& section, const SjisString& key,
                         const SjisString& def);

// The profile text with key in section set to value: the first matching key
// is replaced in place, a new key goes after the last non-blank line of the
// section, a new section at the end. CR and LF in the value become blanks so
// a value cannot add lines. New lines end with CR LF.
std::string ProfileUpdate(const std::string& text, const SjisString& section, const SjisString& key,
                          const SjisString& value);

// Reads a value from the file at path; a missing or unreadable file gives the default.
SjisString ReadProfileString(const std::string& path, const SjisString& section, const SjisString& key,
                             const SjisString& def);

// Writes a value into the file at path, creating file, section or key as
// needed. Returns false when the file cannot be read or written (a read-only
// file, a missing folder); the file is then left as it was where possible.
bool WriteProfileString(const std::string& path, const SjisString& section, const SjisString& key,
                        const SjisString& value);
