#pragma once

#include "platform/SjisString.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

// Whole-file access for the data files and the settings file. Paths are the
// file system's own bytes.

// Largest file the readers take: far above any real data or settings file
// (a full results file is about 80 KB), far below what would exhaust memory.
constexpr std::size_t kLocalFileLimit = 16 * 1024 * 1024;

// Reads the whole file into `bytes`. Returns false when there is no such file;
// raises AppError "ファイル %s を開けません" when it exists but cannot be read:
// no permission, or anything but a plain file (a folder, a named pipe, a
// device, a socket), or a file above kLocalFileLimit. Never blocks on the
// file's kind.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with `bytes` so that it is either the old or the new file,
// never a truncated one: the new contents are written to an unnamed file in
// the same folder where the file system allows it (otherwise a temporary name
// of our own), flushed to disk, and renamed over the target. A replaced file
// keeps its permission bits, and its owner and group as far as the system
// lets us change them (its ACLs and other hard links are not kept); a new one
// is created with `newFileMode` (less the umask). Raises AppError
// "ファイル %s を作成できません" naming the target when the target cannot be
// written (read-only, not a plain file, another user's in a sticky folder) or
// any step fails; nothing of the attempt is left behind then.
void WriteFileAtomic(const std::string& path, const std::string& bytes, mode_t newFileMode = 0666);

// Whether WriteFileAtomic could replace (or create) the file now, found with
// the writer's own probes and leaving no file behind. `folderTried` gets the
// folder the new file would go to (a symbolic link's target's).
enum class ReplaceProbe { Replaceable, FolderRefuses, FileRefuses };
ReplaceProbe ProbeReplace(const std::string& path, std::string* folderTried = nullptr);

// Removes from the folder the temporary files WriteFileAtomic leaves when its
// process is killed between writing and renaming: exactly
// "<target>.tmp<pid>-<n>" as the writer names them, for a target `isOurFile`
// accepts, a plain file of our own user whose writer no longer runs. A live
// writer's files (the other edition's) and every look-alike stay. A folder
// that cannot be listed is not swept.
void RemoveStaleTemporaries(const std::string& folder,
                            const std::function<bool(std::string_view)>& isOurFile);

// Called just before a finished file is renamed over its target; tests use it
// to stand in for a kill at that moment. Empty by default.
void SetBeforeRenameHookForTests(std::function<void()> hook);

// The folder part of a path: "." for a bare name.
std::string FolderOf(const std::string& path);

// A path as it goes into a message text: converted from the file system's
// UTF-8 to code page 932 where it can be, otherwise its bytes unchanged.
SjisString PathForMessage(const std::string& path);

SjisString CannotOpenMessage(const std::string& path);
SjisString CannotCreateMessage(const std::string& path);
