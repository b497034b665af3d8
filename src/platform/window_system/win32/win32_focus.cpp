#include "win32/win32_window.h"

#include <algorithm>

namespace kt5::platform::win32 {

bool Win32Window::preTranslate(MSG& message)
{
    // Tab follows the focus order across the form and its frames, which the dialog manager's
    // walk through each container in turn cannot.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        (message.hwnd == form_ || IsChild(form_, message.hwnd))) {
        moveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageW(form_, &message) != FALSE;
}

void Win32Window::moveFocus(bool backwards)
{
    const auto& order = layout_.focusOrder;
    if (order.empty())
        return;
    const auto current = indexOf(GetFocus());
    const auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t next = at == order.end() ? -1 : at - order.begin();
    next = backwards ? (next <= 0 ? count - 1 : next - 1) : (next + 1) % count;
    SetFocus(controls_[order[static_cast<std::size_t>(next)]]);
}

// As the dialog manager does: the control with the focus is remembered when the window is
// deactivated (by a message box, or another window), and has it again when the window is
// activated; before any control had it, the first of the focus order gets it.
void Win32Window::onActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(form_, focus))
            lastFocus_ = focus;
    } else if (HIWORD(wParam) == 0) { // not while minimised
        restoreFocus();
    }
}

void Win32Window::restoreFocus()
{
    if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(form_, lastFocus_))
        SetFocus(lastFocus_);
    else if (!layout_.focusOrder.empty())
        SetFocus(controls_[layout_.focusOrder.front()]);
}

} // namespace kt5::platform::win32
