#include "platform/AtomicFile.h"

#include "data/AppError.h"
#include "platform/Cp932.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
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
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        throw AppError(CannotOpenMessage(path));
    }
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) throw AppError(CannotOpenMessage(path));

    bytes.clear();
    if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw AppError(CannotOpenMessage(path));
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

bool RewriteFileInPlace(const std::string& path, const std::string& bytes) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.Get() < 0) return false;
    const bool ok = WriteAll(fd.Get(), bytes);
    return fd.Close() && ok;
}

void WriteFileAtomic(const std::string& requested, const std::string& bytes) {
    const std::string target = ResolveLink(requested);

    // An existing target must be writable by us, as a plain rewrite would
    // require; renaming over a read-only file would silently bypass that.
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        Fd probe(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (probe.Get() < 0) throw AppError(CannotCreateMessage(requested));
        mode = st.st_mode & 07777;
        keepMode = true;
    }

    // A name of our own with O_EXCL, so a new file gets 0666 less the umask
    // exactly as a plain create would.
    std::string temp;
    int raw = -1;
    for (unsigned attempt = 0; raw < 0 && attempt < 100; ++attempt) {
        temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST) break;
    }
    if (raw < 0) throw AppError(CannotCreateMessage(requested));

    Fd fd(raw);
    bool ok =
        (!keepMode || ::fchmod(fd.Get(), mode) == 0) && WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        throw AppError(CannotCreateMessage(requested));
    }

    // Make the rename itself durable; the file is already complete either way.
    Fd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
}
