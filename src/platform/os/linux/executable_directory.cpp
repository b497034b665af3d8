#include "os/executable_directory.h"

#include <unistd.h>

namespace kt5::platform::os {

// The kernel's own link to the executable, which also sees through a link to the program
// (/usr/bin/kt5_dtmf leads to the folder that holds the tones).
NativeString executableDirectory()
{
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length <= 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace kt5::platform::os
