#include "platform/AtomicFile.h"

#include "platform/AppError.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
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

// A symbolic link is followed, so the file it names is replaced rather than
// the link itself.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

std::function<void()>& BeforeRenameHook() {
    static std::function<void()> hook;
    return hook;
}

constexpr std::string_view kTemporaryMark = ".tmp";
constexpr unsigned kTemporaryAttempts = 100;

// "<target>.tmp<pid>-<n>": the writer's process id in the name tells a
// leftover from a file still being written.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    return target + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(attempt);
}

// The writer's process id of a name TemporaryName made, or nothing.
std::optional<pid_t> TemporaryWriter(std::string_view name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0) return std::nullopt;
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = tail.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    auto isNumber = [](std::string_view digits) {
        return !digits.empty() && digits.size() <= 9 &&
               std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::string_view pid = tail.substr(0, dash);
    if (!isNumber(pid) || !isNumber(tail.substr(dash + 1))) return std::nullopt;
    pid_t value = 0;
    std::from_chars(pid.data(), pid.data() + pid.size(), value);
    return value;
}

bool ProcessRuns(pid_t pid) {
    // EPERM: it runs, as another user.
    return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH);
}

// Gives the new file the replaced file's permission bits, writes it whole and
// flushes it to disk.
bool FillNewFile(int fd, const std::string& bytes, std::optional<mode_t> keptMode) {
    return (!keptMode || ::fchmod(fd, *keptMode) == 0) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
}

// Writes the bytes into an unnamed file in the folder and links it in under a
// temporary name only when it is complete, so a kill while writing leaves
// nothing behind. Returns the name, or nothing when this fails for any reason
// (a file system without unnamed files, no /proc to link through, a write
// error): the caller then tries a named temporary file, which reports real
// failures.
std::optional<std::string> WriteUnnamedTemporary(const std::string& target, const std::string& bytes,
                                                 mode_t mode, std::optional<mode_t> keptMode) {
    Fd fd(::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (fd.Get() < 0 || !FillNewFile(fd.Get(), bytes, keptMode)) return std::nullopt;
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
                                               mode_t mode, std::optional<mode_t> keptMode) {
    std::string temp;
    int raw = -1;
    for (unsigned attempt = 0; raw < 0 && attempt < kTemporaryAttempts; ++attempt) {
        temp = TemporaryName(target, attempt);
        raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (raw < 0 && errno != EEXIST) break;
    }
    if (raw < 0) return std::nullopt;
    Fd fd(raw);
    bool ok = FillNewFile(fd.Get(), bytes, keptMode);
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

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
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

void WriteFileAtomic(const std::string& requested, const std::string& bytes, mode_t newFileMode) {
    const std::string target = ResolveLink(requested);

    // An existing target must be a plain file writable by us, as a plain
    // rewrite would require; renaming over a read-only file would silently
    // bypass that. O_NONBLOCK: the probe must not wait on a named pipe.
    std::optional<mode_t> keptMode;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) throw AppError(CannotCreateMessage(requested));
        Fd probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe.Get() < 0) throw AppError(CannotCreateMessage(requested));
        keptMode = st.st_mode & 07777;
    }

    std::optional<std::string> temp = WriteUnnamedTemporary(target, bytes, newFileMode, keptMode);
    if (!temp) temp = WriteNamedTemporary(target, bytes, newFileMode, keptMode);
    if (!temp) throw AppError(CannotCreateMessage(requested));

    if (BeforeRenameHook()) BeforeRenameHook()();
    if (::rename(temp->c_str(), target.c_str()) != 0) {
        ::unlink(temp->c_str());
        throw AppError(CannotCreateMessage(requested));
    }

    // Make the rename itself durable; the file is already complete either way.
    Fd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
}

void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<pid_t> writer = TemporaryWriter(entry->d_name);
        if (!writer || ProcessRuns(*writer)) continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

void SetBeforeRenameHookForTests(std::function<void()> hook) {
    BeforeRenameHook() = std::move(hook);
}
