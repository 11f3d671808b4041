#include "platform/ProgramDir.h"

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
