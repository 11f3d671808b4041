#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

InstanceLock::InstanceLock(std::string_view prefix, const std::string& folder, std::string_view gameCode) {
    // A folder we cannot even look at cannot be told apart from another one;
    // such a copy runs unguarded, as it would have before.
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) return;
    const std::string name = std::string(prefix) + "/" + std::to_string(st.st_dev) + "/" +
                             std::to_string(st.st_ino) + "/" + std::string(gameCode);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() + 1 > sizeof address.sun_path) return;
    // The leading NUL puts the name into the abstract namespace.
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0) {
        fd_ = fd;
        return;
    }
    alreadyRunning_ = errno == EADDRINUSE;
    ::close(fd);
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}
