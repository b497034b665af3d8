#pragma once

#include "layout/form_layout.h"
#include "platform/desktop_services.h"
#include "platform/window.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace kt5::test {

// What the conformance suite asks of a backend's window, in device pixels of its client
// area; one implementation per backend, each driving its toolkit's real input paths.
class WindowProbe {
public:
    using Box = layout::Rect; // here in device pixels
    struct Pixel {
        int red, green, blue;
        friend bool operator==(const Pixel&, const Pixel&) = default;
    };
    struct MessageBoxSeen {
        std::string text, title;
        bool exclamationIcon;
    };
    enum class Key { Tab, Space, Return };

    virtual ~WindowProbe() = default;

    virtual platform::DesktopServices& desktop() = 0;
    // Builds the window, shows it and gives it the keyboard, as at start.
    virtual void open(const layout::FormLayout& layout, platform::EventSink sink) = 0;
    virtual double scale() = 0; // device pixels per pixel at 96 DPI, set for the run
    virtual Box client() = 0;
    virtual Box rectOf(std::size_t control) = 0;
    virtual bool resizable() = 0; // asked to maximise, as a title bar does
    virtual bool hasIcon() = 0;   // the program's, on the window
    // A control's text width in its font.
    virtual int textWidth(std::size_t control) = 0;
    virtual Pixel pixel(int x, int y) = 0;
    virtual std::pair<Pixel, Pixel> desktopButtonFaceAndText() = 0; // as the system has them
    // As a screen reader reads them: the control's name, and whether it is presented as
    // something that can be seen.
    virtual std::string accessibleName(std::size_t control) = 0;
    virtual bool presentedAsVisible(std::size_t control) = 0;
    virtual std::optional<std::size_t> focused() = 0;
    virtual void press(Key key) = 0;
    virtual void click(std::size_t control) = 0;
    virtual void activate() = 0; // gives the keyboard back, as a window manager does
    // Runs `trigger`; when a message box opens, reads it, runs `whileOpen` and closes it
    // with Return. Empty when no box opened.
    virtual std::optional<MessageBoxSeen> boxShownBy(const std::function<void()>& trigger,
                                                     const std::function<void()>& whileOpen) = 0;
};

std::unique_ptr<WindowProbe> makeWindowProbe(); // for the backend this binary was built with

} // namespace kt5::test
