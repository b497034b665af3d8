#pragma once

#include "platform/native_string.h"
#include "platform/window.h"
#include "platform/window_description.h"

#include <memory>
#include <string_view>

namespace kt5::platform {

// Message box style bits, with the values the Windows message box uses.
inline constexpr int kMbOk = 0x00;
inline constexpr int kMbIconExclamation = 0x30;

// The window system's services that the program relies on. Every call is made on the thread
// that runs the window's event loop.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // Shows a modal box with `text`, `title`, an OK button and the icon chosen by `style`
    // (kMbIcon*), owned by the program's window when there is one. Returns when the user has
    // closed it; input to the window meanwhile is refused, not queued.
    virtual void messageBox(std::string_view text, std::string_view title, int style) = 0;

    // The full path of the directory holding the running executable, without a trailing
    // separator except at the root of a file system ("/", "C:\").
    virtual NativeString applicationDirectory() = 0;

    // Builds a window with every control of `description`; clicks on its command buttons go
    // to `sink`. The description must outlive the window.
    virtual std::unique_ptr<Window> buildWindow(const WindowDescription& description,
                                                EventSink sink) = 0;
};

// The services of the platform this program was built for, and its sound output.
std::unique_ptr<PlatformServices> createPlatformServices();

} // namespace kt5::platform
