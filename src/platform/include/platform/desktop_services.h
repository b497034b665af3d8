#pragma once

#include "platform/native_string.h"

#include <string_view>

namespace kt5::platform {

// The one icon a message box of this program shows.
enum class MessageIcon { Exclamation };

// What the desktop gives the click handler: a box for the user, a line for whoever looks into
// a problem, and where the program lies. Every call is made on the thread that runs the
// window's event loop.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Shows a modal box with `text`, `title`, an OK button and `icon`, owned by the program's
    // window when there is one. Returns when the user has closed it; input to the window
    // meanwhile is refused, not queued.
    virtual void messageBox(std::string_view text, std::string_view title, MessageIcon icon) = 0;

    // The full path of the directory holding the running executable, without a trailing
    // separator except at the root of a file system ("/", "C:\"). Empty when the system
    // cannot tell.
    virtual NativeString applicationDirectory() = 0;

    // Says what failed, in one line of UTF-8 text, where someone looking into a problem will
    // find it: standard error, and the debugger's output where the platform has one.
    virtual void reportError(std::string_view line) = 0;
};

} // namespace kt5::platform
