#include "platform/ProgramDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace {
std::optional<std::string>& Override() {
    static std::optional<std::string> dir;
    return dir;
}
} // namespace

std::string ProgramDirectory() {
    if (Override()) return *Override();
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "./";
    const std::string exe(path, static_cast<std::size_t>(length));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
}

void SetProgramDirectoryForTests(std::optional<std::string> dir) {
    if (dir && !dir->empty() && dir->back() != '/') *dir += '/';
    Override() = std::move(dir);
}

bool IsCurrentDirectory(const std::string& folder) {
    struct stat here, there;
    return ::stat(".", &here) == 0 && ::stat(folder.c_str(), &there) == 0 && here.st_dev == there.st_dev &&
           here.st_ino == there.st_ino;
}
