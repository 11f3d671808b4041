#include "platform/AtomicFile.h"

#include "platform/AppError.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <signal.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

namespace {

// Closes the descriptor on every way out.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error
    // on some file systems shows only here).
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, p, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// The path a link's text names: an absolute text as it stands, a relative one
// from the link's own folder.
std::string LinkTextPath(const std::string& link, const std::string& text) {
    const std::size_t slash = link.rfind('/');
    if (text.starts_with('/') || slash == std::string::npos) return text;
    return link.substr(0, slash + 1) + text;
}

std::function<void()>& BeforeRenameHook() {
    static std::function<void()> hook;
    return hook;
}

std::function<int(int, mode_t)>& ModeChangeHook() {
    static std::function<int(int, mode_t)> hook;
    return hook;
}

std::optional<uid_t>& NewFileOwnerOverride() {
    static std::optional<uid_t> owner;
    return owner;
}

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;

// A file's path in a folder given with or without its trailing "/".
std::string InFolder(const std::string& folder, std::string_view name) {
    return folder.ends_with('/') ? folder + std::string(name) : folder + "/" + std::string(name);
}

constexpr std::string_view kTemporaryMark = ".tmp";
constexpr unsigned kTemporaryAttempts = 100;

// "<target>.tmp<pid>-<n>": the writer's process id in the name tells a
// leftover from a file still being written.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    return target + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(attempt);
}

// Creates the first free temporary name of the target; the descriptor, or -1
// with `name` empty.
int CreateNamedTemporary(const std::string& target, mode_t mode, std::string& name) {
    for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        name = TemporaryName(target, attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    name.clear();
    return -1;
}

// A decimal number as TemporaryName writes it: no sign, no leading zero.
std::optional<unsigned long> PlainNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

// The largest process id the system hands out.
unsigned long PidMax() {
    unsigned long value = 0;
    if (FILE* file = std::fopen("/proc/sys/kernel/pid_max", "re")) {
        if (std::fscanf(file, "%lu", &value) != 1) value = 0;
        std::fclose(file);
    }
    return value > 0 ? value : 4194304; // the kernel's own ceiling
}

struct TemporaryParts {
    std::string_view Target;
    pid_t Writer;
};

// The target and writer of a name exactly as TemporaryName makes it, or nothing.
std::optional<TemporaryParts> ParseTemporaryName(std::string_view name, unsigned long pidMax) {
    const std::size_t dash = name.rfind('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const std::size_t mark = name.rfind(kTemporaryMark, dash);
    if (mark == std::string_view::npos || mark == 0) return std::nullopt;
    const std::size_t pidStart = mark + kTemporaryMark.size();
    const std::optional<unsigned long> pid = PlainNumber(name.substr(pidStart, dash - pidStart));
    const std::optional<unsigned long> attempt = PlainNumber(name.substr(dash + 1));
    if (!pid || *pid == 0 || *pid > pidMax || !attempt || *attempt >= kTemporaryAttempts) return std::nullopt;
    return TemporaryParts{name.substr(0, mark), static_cast<pid_t>(*pid)};
}

bool ProcessRuns(pid_t pid) {
    // EPERM: it runs, as another user.
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// What a replaced file keeps.
struct KeptAttributes {
    mode_t Mode;
    uid_t Owner;
    gid_t Group;
};

// Gives the new file the replaced file's owner and group where the system
// lets us (so a folder shared by a group keeps working for all its users) and
// its permission bits. A change of owner fails as a whole for another user's
// file, so the group is tried alone after it; the mode comes last, as a change
// of owner clears set-id bits. A file system that keeps one fixed mode for
// every file (FAT, exFAT or NTFS mounted for everyone) refuses the mode: the
// new file is still good when it grants nobody anything the old one did not.
bool GiveKeptAttributes(int fd, const std::optional<KeptAttributes>& kept) {
    if (!kept) return true;
    if (::fchown(fd, kept->Owner, kept->Group) != 0) {
        [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), kept->Group);
    }
    const int changed = ModeChangeHook() ? ModeChangeHook()(fd, kept->Mode) : ::fchmod(fd, kept->Mode);
    if (changed == 0) return true;
    struct stat st;
    return ::fstat(fd, &st) == 0 && (st.st_mode & 07777 & ~kept->Mode) == 0;
}

// The replaced file's attributes, then the whole contents, flushed to disk.
bool FillNewFile(int fd, const std::string& bytes, const std::optional<KeptAttributes>& kept) {
    return GiveKeptAttributes(fd, kept) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

// An unnamed file in the folder, or -1.
int OpenUnnamedFile(const std::string& folder, mode_t mode) {
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// The error of OpenUnnamedFile says the file system has no unnamed files (the
// writer then names its temporary file); any other, that the folder takes no
// new file at all.
bool HasNoUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR;
}

// A new file made in the target's folder as the writer makes one, and gone
// again with the object: an unnamed file where the file system has them,
// otherwise the writer's named temporary, removed at once.
class ProbeFile {
  public:
    ProbeFile(const std::string& target, mode_t mode) : fd_(OpenUnnamedFile(FolderOf(target), mode)) {
        if (fd_ < 0 && HasNoUnnamedFiles(errno)) fd_ = CreateNamedTemporary(target, mode, name_);
    }
    ~ProbeFile() {
        if (fd_ < 0) return;
        ::close(fd_);
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    ProbeFile(const ProbeFile&) = delete;
    ProbeFile& operator=(const ProbeFile&) = delete;

    // -1 when the folder takes no new file.
    int Get() const { return fd_; }

  private:
    int fd_;
    std::string name_;
};

// The owner the file system gives a file this process makes beside `target`:
// the effective user, or on a file system without owners per file the owner
// of the mount.
std::optional<uid_t> NewFileOwner(const std::string& target) {
    if (NewFileOwnerOverride()) return NewFileOwnerOverride();
    const ProbeFile probe(target, 0600);
    struct stat st;
    if (probe.Get() < 0 || ::fstat(probe.Get(), &st) != 0) return std::nullopt;
    return st.st_uid;
}

// In a sticky folder only the file's owner or the folder's may rename over a
// file, though others may open it for writing.
bool StickyFolderForbidsRename(const std::string& target, const struct stat& file) {
    struct stat folder;
    if (::stat(FolderOf(target).c_str(), &folder) != 0 || (folder.st_mode & S_ISVTX) == 0) return false;
    const uid_t me = ::geteuid();
    return me != 0 && file.st_uid != me && folder.st_uid != me;
}

// The writer's probes of an existing target, which must be a plain file we
// may write and rename over, as a plain rewrite would require; renaming over
// a read-only file would silently bypass that. O_NONBLOCK: the probe must not
// wait on a named pipe. Returns false when the target refuses; sets `kept`
// when there is a target to replace.
bool ProbeTarget(const std::string& target, std::optional<KeptAttributes>& kept) {
    struct stat st;
    if (::stat(target.c_str(), &st) != 0) return true;
    if (!S_ISREG(st.st_mode)) return false;
    Fd probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (probe.Get() < 0 || StickyFolderForbidsRename(target, st)) return false;
    kept = KeptAttributes{st.st_mode & 07777, st.st_uid, st.st_gid};
    return true;
}

// Writes the bytes into an unnamed file in the folder and links it in under a
// temporary name only when it is complete, so a kill while writing leaves
// nothing behind. Returns the name, or nothing when this fails for any reason
// (a file system without unnamed files, no /proc to link through, a write
// error): the caller then tries a named temporary file, which reports real
// failures.
std::optional<std::string> WriteUnnamedTemporary(const std::string& target, const std::string& bytes,
                                                 mode_t mode, const std::optional<KeptAttributes>& kept) {
    Fd fd(OpenUnnamedFile(FolderOf(target), mode));
    if (fd.Get() < 0 || !FillNewFile(fd.Get(), bytes, kept)) return std::nullopt;
    const std::string self = "/proc/self/fd/" + std::to_string(fd.Get());
    for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string temp = TemporaryName(target, attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (fd.Close()) return temp;
            ::unlink(temp.c_str());
            return std::nullopt;
        }
        if (errno != EEXIST) break;
    }
    return std::nullopt;
}

// The same under a temporary name from the start; removed again on failure.
std::optional<std::string> WriteNamedTemporary(const std::string& target, const std::string& bytes,
                                               mode_t mode, const std::optional<KeptAttributes>& kept) {
    std::string temp;
    Fd fd(CreateNamedTemporary(target, mode, temp));
    if (fd.Get() < 0) return std::nullopt;
    bool ok = FillNewFile(fd.Get(), bytes, kept);
    ok = fd.Close() && ok;
    if (ok) return temp;
    ::unlink(temp.c_str());
    return std::nullopt;
}

} // namespace

SjisString PathForMessage(const std::string& path) {
    SjisString converted;
    return TryUtf8ToSjis(path, converted) ? converted : path;
}

SjisString CannotOpenMessage(const std::string& path) {
    static const SjisString kHead = Utf8ToSjis("ファイル ");
    static const SjisString kTail = Utf8ToSjis(" を開けません");
    return kHead + PathForMessage(path) + kTail;
}

SjisString CannotCreateMessage(const std::string& path) {
    static const SjisString kHead = Utf8ToSjis("ファイル ");
    static const SjisString kTail = Utf8ToSjis(" を作成できません");
    return kHead + PathForMessage(path) + kTail;
}

std::optional<std::string> FinalLinkTarget(const std::string& path) {
    std::string current = path;
    int links = 0;
    for (struct stat st; ::lstat(current.c_str(), &st) == 0 && S_ISLNK(st.st_mode); ++links) {
        char text[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), text, sizeof text);
        if (links == kMaxLinks || length <= 0 || static_cast<std::size_t>(length) >= sizeof text)
            return std::nullopt;
        current = LinkTextPath(current, std::string(text, static_cast<std::size_t>(length)));
    }
    if (links == 0) return current;
    struct stat folder;
    if (::stat(FolderOf(current).c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return std::nullopt;
    return current;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        // A link into a folder that is not there (a drive not mounted) names
        // a file that cannot be reached, not a missing one.
        if ((errno == ENOENT || errno == ENOTDIR) && FinalLinkTarget(path)) return false;
        throw AppError(CannotOpenMessage(path));
    }
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uintmax_t>(st.st_size) > kLocalFileLimit)
        throw AppError(CannotOpenMessage(path));

    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw AppError(CannotOpenMessage(path));
        }
        if (got == 0) break;
        // A file that grows while it is read is held to the same limit.
        if (bytes.size() + static_cast<std::size_t>(got) > kLocalFileLimit)
            throw AppError(CannotOpenMessage(path));
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

ReplaceProbe ProbeReplace(const std::string& requested, mode_t newFileMode, std::string* folderTried) {
    const std::optional<std::string> target = FinalLinkTarget(requested);
    if (!target) return ReplaceProbe::FileRefuses;
    if (folderTried != nullptr) *folderTried = FolderOf(*target);
    const ProbeFile probe(*target, newFileMode);
    if (probe.Get() < 0) return ReplaceProbe::FolderRefuses;
    std::optional<KeptAttributes> kept;
    if (!ProbeTarget(*target, kept) || !GiveKeptAttributes(probe.Get(), kept))
        return ReplaceProbe::FileRefuses;
    return ReplaceProbe::Replaceable;
}

void WriteFileAtomic(const std::string& requested, const std::string& bytes, mode_t newFileMode) {
    // Through a link, the file it finally names is replaced and the link stays.
    const std::optional<std::string> target = FinalLinkTarget(requested);
    std::optional<KeptAttributes> kept;
    if (!target || !ProbeTarget(*target, kept)) throw AppError(CannotCreateMessage(requested));

    std::optional<std::string> temp = WriteUnnamedTemporary(*target, bytes, newFileMode, kept);
    if (!temp) temp = WriteNamedTemporary(*target, bytes, newFileMode, kept);
    if (!temp) throw AppError(CannotCreateMessage(requested));

    if (BeforeRenameHook()) BeforeRenameHook()();
    if (::rename(temp->c_str(), target->c_str()) != 0) {
        ::unlink(temp->c_str());
        throw AppError(CannotCreateMessage(requested));
    }

    // Make the rename itself durable; the file is already complete either way.
    Fd folder(::open(FolderOf(*target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
}

void RemoveStaleTemporaries(const std::string& folder,
                            const std::function<bool(std::string_view)>& isOurFile) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const unsigned long pidMax = PidMax();
    const uid_t me = ::geteuid();
    // Asked only when a leftover is another owner's, and then once.
    std::optional<std::optional<uid_t>> newFileOwner;
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<TemporaryParts> parts = ParseTemporaryName(entry->d_name, pidMax);
        if (!parts || !isOurFile(parts->Target) || ProcessRuns(parts->Writer)) continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (st.st_uid != me) {
            if (!newFileOwner) newFileOwner = NewFileOwner(InFolder(folder, parts->Target));
            if (*newFileOwner != st.st_uid) continue;
        }
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

void SetBeforeRenameHookForTests(std::function<void()> hook) {
    BeforeRenameHook() = std::move(hook);
}

void SetModeChangeForTests(std::function<int(int fd, mode_t mode)> change) {
    ModeChangeHook() = std::move(change);
}

void SetNewFileOwnerForTests(std::optional<uid_t> owner) {
    NewFileOwnerOverride() = owner;
}
