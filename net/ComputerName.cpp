#include "net/ComputerName.h"

#include <climits>
#include <unistd.h>

#ifndef HOST_NAME_MAX
#define HOST_NAME_MAX 255
#endif

SjisString ShortComputerName(const SjisString& hostName) {
    SjisString name = hostName.substr(0, hostName.find('.'));
    if (name.size() > 15) name.resize(15);
    return name;
}

SjisString ComputerName() {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return SjisString();
    return ShortComputerName(buffer);
}
