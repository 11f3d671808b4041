#pragma once

#include "platform/SjisString.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// Whole-file access for the data files and the settings file. Paths are the
// file system's own bytes.

// Largest file the readers take: far above any real data or settings file
// (a full results file is about 80 KB), far below what would exhaust memory.
constexpr std::size_t kLocalFileLimit = std::size_t{16} * 1024 * 1024;

// The file a path finally names: a chain of symbolic links is followed link by
// link (a relative link text from its own link's folder), at most 40 links as
// the system does. The path itself when it is no link. Nothing when the chain
// cannot be followed to a folder that is there: a loop, too many links, or a
// final target whose folder is missing (a drive not mounted).
std::optional<std::string> FinalLinkTarget(const std::string& path);

// The modes of a new file, less the umask: one everybody may read (the data
// files, downloads, exports), and one only its owner may read (the settings
// file and the network log, which hold the account's password and access
// code).
constexpr mode_t kOrdinaryFileMode = 0666;
constexpr mode_t kPrivateFileMode = 0600;

// Reads the whole file into `bytes`. Returns false when there is no such file
// (also through a link whose target's folder is there); raises AppError
// "ファイル %s を開けません" when it exists but cannot be read: no permission,
// anything but a plain file (a folder, a named pipe, a device, a socket), a
// file above kLocalFileLimit, or a link FinalLinkTarget cannot follow. Never
// blocks on the file's kind.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file with `bytes` so that it is either the old or the new file,
// never a truncated one: the new contents are written to an unnamed file in
// the same folder where the file system allows it (otherwise a temporary name
// of our own), flushed to disk, and renamed over the target. Through a
// symbolic link the file it finally names is replaced, or created when it is
// not there yet; the link stays. A replaced file keeps its permission bits,
// owner and group as far as the system lets us change them (where it refuses
// the mode, the new file must grant nothing more than the old one did); its
// ACLs and other hard links are not kept. A new one is created with
// `newFileMode` (less the umask). Raises AppError "ファイル %s を作成できません"
// naming the path as given when the target cannot be written (read-only, not
// a plain file, another user's in a sticky folder, a link that cannot be
// followed) or any step fails; nothing of the attempt is left behind then.
void WriteFileAtomic(const std::string& path, const std::string& bytes,
                     mode_t newFileMode = kOrdinaryFileMode);

// Whether WriteFileAtomic with `newFileMode` could replace (or create) the file
// now, found with the writer's own steps short of writing, leaving no file
// behind. `folderTried` gets the folder the new file would go to (a symbolic
// link's final target's).
enum class ReplaceProbe { Replaceable, FolderRefuses, FileRefuses };
ReplaceProbe ProbeReplace(const std::string& path, mode_t newFileMode, std::string* folderTried = nullptr);

// Removes from the folder the temporary files WriteFileAtomic leaves when its
// process is killed between writing and renaming: exactly
// "<target>.tmp<pid>-<n>" as the writer names them, for a target `isOurFile`
// accepts, a plain file whose writer no longer runs and that is ours: it
// belongs to our user, or to whoever a file we make in the folder belongs to
// (on a file system without owners per file, the mount's owner). A live
// writer's files (the other edition's) and every look-alike stay. A folder
// that cannot be listed is not swept.
void RemoveStaleTemporaries(const std::string& folder,
                            const std::function<bool(std::string_view)>& isOurFile);

// Called just before a finished file is renamed over its target; tests use it
// to stand in for a kill at that moment. Empty by default.
void SetBeforeRenameHookForTests(std::function<void()> hook);

// Stands in for fchmod of a new file, so tests can play a file system that
// refuses mode changes. Empty (the real call) by default.
void SetModeChangeForTests(std::function<int(int fd, mode_t mode)> change);

// The owner the sweep takes new files in its folder to get, for tests that
// play a file system without owners per file; std::nullopt asks the system.
void SetNewFileOwnerForTests(std::optional<uid_t> owner);

// The folder part of a path: "." for a bare name.
std::string FolderOf(const std::string& path);

// A path as it goes into a message text: converted from the file system's
// UTF-8 to code page 932 where it can be, otherwise its bytes unchanged.
SjisString PathForMessage(const std::string& path);

SjisString CannotOpenMessage(const std::string& path);
SjisString CannotCreateMessage(const std::string& path);
