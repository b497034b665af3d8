#include "support/x11_session.h"

#include "support/wave_files.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <vector>

namespace kt5::test {

namespace {

std::string titleOf(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024,
                           False, XInternAtom(display, "UTF8_STRING", False), &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

// A window may go between being listed and being looked at; Xlib's own handler would end
// the test for it.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

bool isViewable(Display* display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

} // namespace

X11Session::X11Session()
{
    // The server picks a free display itself and says which on standard output.
    const auto numberFile = dir_ / "display";
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp", "-noreset"},
        std::vector<std::string>{"PATH=/usr/bin:/bin"}, numberFile.string(), "/dev/null");
    if (!waitUntil([&] { return readBytes(numberFile).find('\n') != std::string::npos; },
                   std::chrono::seconds(10)))
        return;
    const std::string number = readBytes(numberFile);
    name_ = ":" + number.substr(0, number.find('\n'));
    display_ = XOpenDisplay(name_.c_str());
    XSetErrorHandler(&ignoreError);
}

X11Session::~X11Session()
{
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

std::optional<unsigned long> X11Session::waitForWindow(const std::string& title, int timeoutMs)
{
    std::optional<unsigned long> found;
    waitUntil(
        [&] {
            Window root = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children,
                            &count))
                return false;
            const std::vector<Window> windows(children, children + count);
            XFree(children);
            for (const Window window : windows)
                if (isViewable(display_, window) && titleOf(display_, window) == title)
                    found = window;
            return found.has_value();
        },
        std::chrono::milliseconds(timeoutMs));
    return found;
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

void X11Session::key(const std::string& name)
{
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(name.c_str()));
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
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

} // namespace kt5::test
