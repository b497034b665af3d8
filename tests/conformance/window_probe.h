#pragma once

#include "platform/platform_services.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kt5::test {

// What the conformance suite asks of a backend's built window, in device pixels of its
// client area. One implementation per backend, each driving its toolkit's real input paths.
class WindowProbe {
public:
    struct Box {
        int left, top, width, height;
    };
    struct Pixel {
        int red, green, blue;
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };
    struct TitleBar {
        std::string caption;
        bool resizable, minimize, maximize;
    };
    struct MessageBoxSeen {
        std::string text, title;
        bool exclamationIcon;
    };
    enum class Key { Tab, Space, Return };

    virtual ~WindowProbe() = default;

    // The backend's services; their window is built by open().
    virtual platform::PlatformServices& services() = 0;
    // Builds the window from `layout`, shows it and gives it the keyboard, as at start.
    virtual void open(const platform::WindowLayout& layout, platform::EventSink sink) = 0;
    // Device pixels per pixel at 96 DPI, which the run was started at.
    virtual double scale() = 0;

    virtual Box client() = 0;
    virtual Box rectOf(std::size_t control) = 0;
    virtual TitleBar titleBar() = 0;
    // The width of a control's text in the font it is drawn in, or, with `natural`, in that
    // font before any narrowing.
    virtual int textWidth(std::size_t control, bool natural) = 0;
    virtual Pixel pixel(int x, int y) = 0;
    virtual std::string accessibleName(std::size_t control) = 0;
    virtual std::optional<std::size_t> focused() = 0;

    virtual void press(Key key) = 0;
    virtual void click(std::size_t control) = 0;
    // Gives the keyboard back to the window, as a window manager does after a box.
    virtual void activate() = 0;
    // Runs `trigger`; when a message box opens, reads it, runs `whileOpen` and closes it with
    // Return. Empty when no box opened.
    virtual std::optional<MessageBoxSeen> boxShownBy(const std::function<void()>& trigger,
                                                     const std::function<void()>& whileOpen) = 0;
};

// The probe of the backend this test binary was built with.
std::unique_ptr<WindowProbe> makeWindowProbe();

} // namespace kt5::test
