#pragma once

#include "support/child_process.h"
#include "support/temp_dir.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

struct _XDisplay;

namespace kt5::test {

// A private X server (Xvfb) and a client that drives it the way a person would: real pointer
// clicks and key presses through the XTEST extension, and close requests as a window
// manager sends them.
class X11Session {
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool ready() const { return display_ != nullptr; }
    const std::string& displayName() const { return name_; }
    ::_XDisplay* display() const { return display_; }

    // The mapped top-level window whose title is exactly `title`, waiting up to `timeoutMs`.
    std::optional<unsigned long> waitForWindow(const std::string& title, int timeoutMs);
    // The inner size of a window, in pixels.
    std::pair<int, int> sizeOf(unsigned long window);
    // Presses and releases the left button at (x, y) of `window`.
    void click(unsigned long window, int x, int y);
    // Presses and releases a key, named as X names it ("Tab", "space", "Return").
    void key(const std::string& name);
    // Gives the window the keyboard focus, as a window manager does when it is activated.
    void focus(unsigned long window);
    // Asks the window to close, as a window manager's close box does (WM_DELETE_WINDOW).
    void requestClose(unsigned long window);

private:
    TempDir dir_;
    std::string name_;
    std::unique_ptr<ChildProcess> server_;
    ::_XDisplay* display_ = nullptr;
};

} // namespace kt5::test
