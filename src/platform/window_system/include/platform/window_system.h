#pragma once

#include "layout/form_layout.h"
#include "platform/desktop_services.h"
#include "platform/program_identity.h"
#include "platform/window.h"

#include <memory>
#include <string>

namespace kt5::platform {

// A built window, or why none could be built.
struct BuiltWindow {
    std::unique_ptr<Window> window;
    std::string error; // set when window is null
};

// The window system, set up: connected to the display, with the toolkit ready, so that a
// message box can be shown even before any window is built. Used on one thread only.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The desktop services for the click handler; a message box is modal over the window
    // built last.
    virtual DesktopServices& desktop() = 0;

    // Builds a window with every control of `layout`; clicks on its command buttons go to
    // `sink`. On failure (no window class, a control not created) the window is null and
    // `error` says what failed. The layout must outlive the window.
    virtual BuiltWindow buildWindow(const layout::FormLayout& layout, EventSink sink) = 0;
};

// The window system, or why it could not be set up (no display, say, named as the user
// would look for it).
struct StartedWindowSystem {
    std::unique_ptr<WindowSystem> system;
    std::string error; // set when system is null
};

// Sets up the window system of the platform this program was built for, once per process.
// The program takes no arguments: none reaches the toolkit.
StartedWindowSystem startWindowSystem(const ProgramIdentity& identity);

} // namespace kt5::platform
