#pragma once

#include "testing/child_process.h"
#include "testing/files.h"

#include <X11/Xlib.h>
#include <cctype>
#include <optional>
#include <utility>

namespace kt5::test {

// A private X server (Xvfb), driven as a person would through xdotool (XTEST), and asked to
// close a window as a window manager asks (which xdotool cannot).
class X11Session {
public:
    X11Session()
    {
        // The server picks a free display itself and says which on standard output.
        const auto number = dir_ / "display";
        server_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                                     "-nolisten", "tcp", "-noreset"},
            std::vector<std::string>{"PATH=/usr/bin:/bin"}, number.string(), "/dev/null");
        if (!waitUntil([&] { return readBytes(number).ends_with('\n'); }, std::chrono::seconds(10)))
            return;
        name_ = ":" + readBytes(number).substr(0, readBytes(number).size() - 1);
        display_ = XOpenDisplay(name_.c_str());
        // A window may go between being listed and being looked at; Xlib's own handler would
        // end the test for it.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;
    ~X11Session()
    {
        if (display_ != nullptr)
            XCloseDisplay(display_);
    }

    bool ready() const { return display_ != nullptr; }
    const std::string& displayName() const { return name_; }
    Display* display() const { return display_; }

    // The mapped window whose title is exactly `title`, waiting up to `timeoutMs`.
    std::optional<unsigned long> waitForWindow(const std::string& title, int timeoutMs)
    {
        std::string pattern;
        for (const char c : title)
            pattern += std::string(std::isalnum(static_cast<unsigned char>(c)) ? "" : "\\") + c;
        const std::string search = "search --onlyvisible --name '^" + pattern + "$'";
        std::string found;
        waitUntil([&] { return !(found = xdotool(search)).empty(); },
                  std::chrono::milliseconds(timeoutMs));
        return found.empty() ? std::nullopt : std::optional(std::stoul(found));
    }
    std::pair<int, int> sizeOf(unsigned long window) // inner, in pixels
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window, &attributes);
        return {attributes.width, attributes.height};
    }
    void click(unsigned long window, int x, int y)
    {
        xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
                std::to_string(y) + " click 1");
    }
    void key(const std::string& name) { xdotool("key " + name); } // "Tab", "space", "Return"
    void focus(unsigned long window) { xdotool("windowfocus " + std::to_string(window)); }
    void requestClose(unsigned long window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", 0));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XSync(display_, False);
    }

private:
    std::string xdotool(const std::string& arguments)
    {
        return outputOf({"/bin/sh", "-c", "xdotool " + arguments}, {"DISPLAY=" + name_});
    }

    TempDir dir_;
    std::string name_;
    std::unique_ptr<ChildProcess> server_;
    Display* display_ = nullptr;
};

} // namespace kt5::test
