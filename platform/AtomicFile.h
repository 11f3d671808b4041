#pragma once

#include "data/SjisString.h"

#include <string>

// Whole-file access for the data files. Paths are the file system's own bytes.

// Reads the whole file into `bytes`. Returns false when there is no such file;
// raises AppError "ファイル %s を開けません" when it exists but cannot be read
// (no permission, a folder in its place).
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with `bytes` so that it is either the old or the new file,
// never a truncated one: a temporary file in the same folder (with the
// target's permission bits) is written, flushed to disk, closed and renamed
// over the target. Raises AppError "ファイル %s を作成できません" naming the
// target when the target cannot be opened for writing or any step fails; the
// temporary file is removed then.
void WriteFileAtomic(const std::string& path, const std::string& bytes);

// Rewrites the file in place (creating it when missing). Unlike
// WriteFileAtomic, a read-only file refuses the write. Returns false on any
// failure.
bool RewriteFileInPlace(const std::string& path, const std::string& bytes);

// A path as it goes into a message text: converted from the file system's
// UTF-8 to code page 932 where it can be, otherwise its bytes unchanged.
SjisString PathForMessage(const std::string& path);

SjisString CannotOpenMessage(const std::string& path);
SjisString CannotCreateMessage(const std::string& path);
