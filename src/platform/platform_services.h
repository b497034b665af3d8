#pragma once

#include "platform/native_string.h"
#include "platform/window.h"
#include "platform/window_layout.h"

#include <memory>
#include <string>
#include <string_view>

namespace kt5::platform {

enum class MessageIcon { None, Information, Exclamation, Error };

// A built window, or why none could be built.
struct BuiltWindow {
    std::unique_ptr<Window> window;
    std::string error; // set when window is null
};

// The window system's services that the program relies on. Every call is made on the thread
// that runs the window's event loop.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

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

    // Builds a window with every control of `layout`; clicks on its command buttons go to
    // `sink`. On failure (no display, no window class, a control not created) the window is
    // null and `error` says what failed. The layout's strings must outlive the window.
    virtual BuiltWindow buildWindow(const WindowLayout& layout, EventSink sink) = 0;
};

// The services of the platform this program was built for.
std::unique_ptr<PlatformServices> createPlatformServices();

} // namespace kt5::platform
