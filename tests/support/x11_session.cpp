#include "support/x11_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <filesystem>
#include <poll.h>
#include <thread>
#include <vector>

namespace kt5::test {

namespace {

std::string titleOf(Display* display, Window window)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

std::vector<Window> topLevels(Display* display)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        result.assign(children, children + count);
        XFree(children);
    }
    return result;
}

bool isViewable(Display* display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

} // namespace

X11Session::X11Session()
{
    int number = 90;
    while (std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock"))
        ++number;
    name_ = ":" + std::to_string(number);
    server_ = std::make_unique<ChildProcess>(std::vector<std::string>{"Xvfb", name_, "-screen", "0",
                                                                      "1024x768x24", "-nolisten",
                                                                      "tcp", "-noreset"},
                                             std::vector<std::string>{"PATH=/usr/bin:/bin"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (display_ == nullptr && server_->running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        display_ = XOpenDisplay(name_.c_str());
    }
}

X11Session::~X11Session()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

std::optional<unsigned long> X11Session::waitForWindow(const std::string& title, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        for (const Window window : topLevels(display_))
            if (isViewable(display_, window) && titleOf(display_, window) == title)
                return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool X11Session::windowExists(const std::string& title)
{
    return waitForWindow(title, 0).has_value();
}

void X11Session::watchMaps()
{
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, True); // drop what came before
}

bool X11Session::waitForMap(const std::string& title, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display_) > 0) {
            XEvent event{};
            XNextEvent(display_, &event);
            if (event.type == MapNotify && titleOf(display_, event.xmap.window) == title)
                return true;
        }
        ::poll(&connection, 1, 5);
    }
    return false;
}

std::pair<int, int> X11Session::sizeOf(unsigned long window)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    return {attributes.width, attributes.height};
}

void X11Session::click(unsigned long window, int x, int y)
{
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display_, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XSync(display_, False);
}

void X11Session::focus(unsigned long window)
{
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
}

void X11Session::requestClose(unsigned long window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

void X11Session::sync()
{
    XSync(display_, False);
}

} // namespace kt5::test
