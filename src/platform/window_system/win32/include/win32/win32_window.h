#pragma once

#include "layout/font_fitting.h"
#include "layout/form_layout.h"
#include "platform/window.h"
#include "win32/win32_accessibility.h"
#include "win32/win32_fonts.h"
#include "win32/win32_handles.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kt5::platform::win32 {

// A window built from a layout with native Win32 controls. Frames are containers of their own
// whose children lie at frame coordinates; every handle is released when the object goes.
// Its work is split by job: lifetime, controls and the loop here (win32_window.cpp), the
// keyboard focus (win32_focus.cpp), sizes, fonts and colours at a DPI (win32_style.cpp), and
// the frames' group-box look (win32_frame.cpp).
class Win32Window final : public Window {
public:
    Win32Window(const layout::FormLayout& layout, EventSink sink);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Empty when the window was built; otherwise what failed.
    const std::string& failure() const { return failure_; }

    void showAndRun() override;
    // Shows the window with the focus on its first control; showAndRun() without the loop.
    void show();
    // Handles a key for the window as its loop does: true when the message was used.
    bool preTranslate(MSG& message);

    HWND handle() const { return form_; }
    HWND control(std::size_t index) const { return controls_.at(index); }
    UINT dpi() const { return dpi_; }

private:
    static LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    LRESULT onClose(HWND window);
    std::optional<std::size_t> indexOf(HWND handle) const;

    // win32_focus.cpp
    void onActivate(WPARAM wParam);
    void restoreFocus();
    void moveFocus(bool backwards);

    // win32_style.cpp
    void applyDpi(UINT dpi);
    void sizeClientArea(int width, int height);
    HFONT fontOf(std::size_t control);
    HBRUSH brushFor(COLORREF colour);
    LRESULT onControlColour(HDC dc, HWND control);
    void eraseBackground(HWND window, HDC dc);

    // win32_frame.cpp
    void onPaintFrame(HWND frame);

    const layout::FormLayout& layout_;
    EventSink sink_;
    std::string failure_;
    HWND form_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<HWND> controls_; // by index in the layout
    layout::FittedFonts fitted_;
    Win32Fonts fonts_;
    std::map<COLORREF, UniqueBrush> brushes_;
    AccessiblePresentation accessibility_;
    HWND lastFocus_ = nullptr; // the control that had the focus when the window lost it
    bool running_ = false;
};

} // namespace kt5::platform::win32
