#pragma once

#include "platform/win32/win32_handles.h"
#include "platform/window.h"
#include "platform/window_description.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace kt5::platform::win32 {

// A window built from a description with native Win32 controls. Frames are containers of
// their own whose children lie at frame coordinates; every handle is released when the
// object goes.
class Win32Window final : public Window {
public:
    struct Control {
        const ControlDescription* description;
        HWND handle;
    };

    Win32Window(const WindowDescription& description, EventSink sink);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void showAndRun() override;
    // Shows the window with the focus on its first control; showAndRun() without the loop.
    void show();
    // Handles a key for the window as its loop does: true when the message was used.
    bool preTranslate(MSG& message);

    HWND handle() const { return form_; }
    const std::vector<Control>& controls() const { return controls_; }
    HWND controlHandle(std::string_view name, std::optional<std::int16_t> index = {}) const;

private:
    static LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void registerClasses();

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    LRESULT onControlColor(HDC dc, HWND control);
    void onPaintFrame(HWND frame);
    void createControls();
    void applyDpi(UINT dpi);
    void moveFocus(bool backwards);
    const Control* find(HWND handle) const;
    HBRUSH brushFor(COLORREF color);
    HFONT fontFor(const Font& font);
    const Font& fontOf(const ControlDescription& control) const;

    const WindowDescription& description_;
    EventSink sink_;
    HWND form_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<Control> controls_;
    std::vector<HWND> tabOrder_;
    std::vector<std::pair<const Font*, UniqueFont>> fonts_;
    std::map<COLORREF, UniqueBrush> brushes_;
};

} // namespace kt5::platform::win32
