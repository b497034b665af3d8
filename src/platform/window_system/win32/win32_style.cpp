#include "win32/win32_window.h"
#include "win32_units.h"
#include "win32_window_parts.h"

namespace kt5::platform::win32 {

COLORREF colorRef(const layout::Colour& colour)
{
    if (const auto* rgb = std::get_if<layout::Rgb>(&colour))
        return RGB(rgb->red, rgb->green, rgb->blue);
    switch (std::get<layout::SystemColour>(colour)) {
    case layout::SystemColour::ButtonText:
        return GetSysColor(COLOR_BTNTEXT);
    case layout::SystemColour::Window:
        return GetSysColor(COLOR_WINDOW);
    case layout::SystemColour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case layout::SystemColour::ButtonFace:
        break;
    }
    return GetSysColor(COLOR_BTNFACE);
}

// Sizes, positions and fonts for a DPI; called at creation and when the window moves to a
// screen of another DPI.
void Win32Window::applyDpi(UINT dpi)
{
    dpi_ = dpi;
    sizeClientArea(pixelsFromTwips(layout_.clientWidth, dpi),
                   pixelsFromTwips(layout_.clientHeight, dpi));
    fitted_ = layout::fitFonts(
        layout_,
        {.width = [this](const layout::Font& font,
                         std::string_view text) { return fonts_.widthInTwips(font, text, dpi_); },
         .stem = [this](const layout::Font& font) { return fonts_.stemWidth(font, dpi_); }});
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const layout::Rect& r = layout_.controls[i].rect;
        MoveWindow(controls_[i], pixelsFromTwips(r.left, dpi), pixelsFromTwips(r.top, dpi),
                   pixelsFromTwips(fitted_.widthOfControl[i], dpi), pixelsFromTwips(r.height, dpi),
                   FALSE);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(i)), FALSE);
    }
    RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Sizes the window for its client area: by the system's frame metrics for the DPI, then by
// what the frame really takes, where the two differ (a system that draws frames at another
// DPI than the window's).
void Win32Window::sizeClientArea(int width, int height)
{
    RECT frame{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    const auto resize = [&](int outerWidth, int outerHeight) {
        SetWindowPos(form_, nullptr, 0, 0, outerWidth, outerHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(frame.right - frame.left, frame.bottom - frame.top);
    RECT outer{};
    RECT client{};
    GetWindowRect(form_, &outer);
    GetClientRect(form_, &client);
    if (client.right != width || client.bottom != height)
        resize(outer.right - outer.left + width - client.right,
               outer.bottom - outer.top + height - client.bottom);
}

HFONT Win32Window::fontOf(std::size_t control)
{
    return fonts_.get(fitted_.fonts.at(fitted_.fontOfControl.at(control)), dpi_);
}

HBRUSH Win32Window::brushFor(COLORREF colour)
{
    auto& brush = brushes_[colour];
    if (!brush)
        brush.reset(CreateSolidBrush(colour));
    return brush.get();
}

LRESULT Win32Window::onControlColour(HDC dc, HWND handle)
{
    const auto control = indexOf(handle);
    if (!control)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    const COLORREF background = colorRef(layout_.controls[*control].background);
    SetTextColor(dc, colorRef(layout_.controls[*control].foreground));
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(brushFor(background));
}

void Win32Window::eraseBackground(HWND window, HDC dc)
{
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, brushFor(colorRef(layout_.background)));
}

} // namespace kt5::platform::win32
