#pragma once

#include <cstddef>
#include <functional>

namespace kt5::platform {

enum class EventKind { Click };

// An event raised by a control of a built window.
struct ControlEvent {
    std::size_t control; // its place among the layout's controls
    EventKind kind;
};

// Called on the event loop's thread, one event at a time: the next event is not delivered
// before this returns.
using EventSink = std::function<void(const ControlEvent&)>;

// A window built from a layout.
class Window {
public:
    virtual ~Window() = default;

    // Shows the window with the focus on the first control of the focus order, and delivers
    // its events to the sink until the user closes it. Input given while the sink runs waits
    // and is delivered afterwards, in order; input to the window while a modal box is open is
    // dropped. A close requested meanwhile takes effect afterwards. When the window is
    // activated again, the control that had the focus has it again.
    virtual void showAndRun() = 0;
};

} // namespace kt5::platform
