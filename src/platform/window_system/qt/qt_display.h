#pragma once

#include <string>

namespace kt5::platform::qt {

// Which of Qt's platform plugins the program starts on, or why it can start on none.
struct DisplayChoice {
    std::string platform; // empty: none, and `error` says why
    std::string error;
};

// Chooses the display the way a user would expect, and makes sure it answers before Qt is
// started on it, so that a missing display is an ordinary failure with a reason rather than
// Qt's abort: a Wayland compositor natively where Qt's Wayland plugin is installed, otherwise
// the X server (on a Wayland desktop, XWayland). A platform the user chose through
// QT_QPA_PLATFORM is taken as it is. Quiet: nothing is printed.
DisplayChoice chooseDisplay();

} // namespace kt5::platform::qt
