#include "os/windows_text.h"
#include "win32/win32_window.h"
#include "win32_units.h"
#include "win32_window_parts.h"

namespace kt5::platform::win32 {

// A frame passes its children's notifications on to the form, which handles them all.
LRESULT CALLBACK Win32Window::frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win32Window* self = attachedWindow(window, message, lParam);
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return self->handleMessage(self->form_, message, wParam, lParam);
    case WM_GETFONT:
        if (const auto frame = self->indexOf(window))
            return reinterpret_cast<LRESULT>(self->fontOf(*frame));
        return 0;
    case WM_SETFONT: // the frame paints with its own font
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        self->onPaintFrame(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The frame's group-box look: an etched border whose top runs through the middle of the
// caption, the caption in the frame's own font and colour.
void Win32Window::onPaintFrame(HWND frame)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(frame, &paint);
    if (const auto control = indexOf(frame)) {
        const layout::ControlLayout& c = layout_.controls[*control];
        RECT area{};
        GetClientRect(frame, &area);
        const COLORREF background = colorRef(c.background);
        FillRect(dc, &area, brushFor(background));

        const SelectedObject font(dc, fontOf(*control));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT border = area;
        border.top += layout::FrameCaption::borderTop(metrics.tmHeight);
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);

        if (!c.text.empty()) {
            SetTextColor(dc, colorRef(c.foreground));
            SetBkColor(dc, background);
            SetBkMode(dc, OPAQUE);
            const std::wstring padded = os::wideFromUtf8(layout_.frameCaption.padded(c.text));
            TextOutW(dc, pixelsFromTwips(layout_.frameCaption.inset, dpi_), 0, padded.c_str(),
                     static_cast<int>(padded.size()));
        }
    }
    EndPaint(frame, &paint);
}

} // namespace kt5::platform::win32
