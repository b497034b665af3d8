#include "win32/win32_window.h"

#include "os/windows_text.h"
#include "win32_units.h"
#include "win32_window_parts.h"

#include <algorithm>

namespace kt5::platform::win32 {

namespace {

constexpr int kFirstControlId = 1000; // clear of IDOK and IDCANCEL, which mean nothing here
constexpr UINT_PTR kCloseTimer = 1;

// Registers both window classes once for the process; what failed, or empty.
const std::string& registerClasses(WNDPROC formProc, WNDPROC frameProc)
{
    static const std::string failure = [&]() -> std::string {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = formProc;
        form.hInstance = instance();
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.lpszClassName = kFormClass;
        WNDCLASSEXW frame = form;
        frame.lpfnWndProc = frameProc;
        frame.lpszClassName = kFrameClass;
        for (const WNDCLASSEXW* windowClass : {&form, &frame})
            if (RegisterClassExW(windowClass) == 0)
                return "window class not registered: " + os::systemErrorText(GetLastError());
        return {};
    }();
    return failure;
}

} // namespace

// Both window classes carry their Win32Window in the user data, from WM_NCCREATE on.
Win32Window* attachedWindow(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

Win32Window::Win32Window(const layout::FormLayout& layout, EventSink sink)
    : layout_(layout)
    , sink_(std::move(sink))
{
    failure_ = registerClasses(&Win32Window::formProc, &Win32Window::frameProc);
    if (!failure_.empty())
        return;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (layout.minimizeButton)
        style |= WS_MINIMIZEBOX;
    if (layout.maximizeButton)
        style |= WS_MAXIMIZEBOX;
    form_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, os::wideFromUtf8(layout.caption).c_str(),
                        style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                        nullptr, instance(), this);
    if (form_ == nullptr) {
        failure_ = "window not created: " + os::systemErrorText(GetLastError());
        return;
    }

    const std::wstring iconName = os::wideFromUtf8(layout.icon);
    for (const auto& [size, which] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int pixels = GetSystemMetrics(which);
        // Shared: loaded from the executable's resources and never destroyed by hand.
        if (auto* icon = static_cast<HICON>(
                LoadImageW(instance(), iconName.c_str(), IMAGE_ICON, pixels, pixels, LR_SHARED)))
            SendMessageW(form_, WM_SETICON, static_cast<WPARAM>(size),
                         reinterpret_cast<LPARAM>(icon));
    }
    createControls();
    if (failure_.empty())
        applyDpi(GetDpiForWindow(form_));
}

Win32Window::~Win32Window()
{
    if (form_ != nullptr && IsWindow(form_))
        DestroyWindow(form_);
}

void Win32Window::createControls()
{
    int id = kFirstControlId;
    for (const auto& c : layout_.controls) {
        HWND parent = c.parent ? controls_.at(*c.parent) : form_;
        const wchar_t* windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        switch (c.kind) {
        case layout::ControlKind::Frame:
            windowClass = kFrameClass;
            style |= WS_CLIPCHILDREN;
            exStyle = WS_EX_CONTROLPARENT;
            break;
        case layout::ControlKind::CommandButton:
            windowClass = L"BUTTON";
            style |= BS_PUSHBUTTON;
            break;
        case layout::ControlKind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case layout::ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        }
        if (c.takesFocus)
            style |= WS_TABSTOP;
        HWND handle = CreateWindowExW(
            exStyle, windowClass, os::wideFromUtf8(c.text).c_str(), style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance(), this);
        if (handle == nullptr) {
            failure_ = "control " + c.id + " not created: " + os::systemErrorText(GetLastError());
            return;
        }
        controls_.push_back(handle);
        accessibility_.present(handle, c);
    }
    for (const std::size_t i : layout_.stacking)
        SetWindowPos(controls_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::optional<std::size_t> Win32Window::indexOf(HWND handle) const
{
    const auto found = std::find(controls_.begin(), controls_.end(), handle);
    if (found == controls_.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - controls_.begin());
}

void Win32Window::show()
{
    ShowWindow(form_, SW_SHOWNORMAL);
    UpdateWindow(form_);
    restoreFocus();
}

void Win32Window::showAndRun()
{
    show();
    running_ = true;
    // Clicks on a button run their handler to completion inside this loop; input that
    // arrives meanwhile waits in the thread's queue and is delivered afterwards, in order.
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    running_ = false;
}

LRESULT CALLBACK Win32Window::formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Win32Window* self = attachedWindow(window, message, lParam))
        return self->handleMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return onCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND:
        eraseBackground(window, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_SETFOCUS:
        restoreFocus();
        return 0;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        applyDpi(HIWORD(wParam));
        SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SYSCOMMAND:
        // Without a maximise button, no other way of asking (a title bar's double click, the
        // window menu, a tool) maximises the window either.
        if ((wParam & 0xFFF0) == SC_MAXIMIZE && !layout_.maximizeButton)
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
        return onClose(window);
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            KillTimer(window, kCloseTimer);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_DESTROY:
        // Only the loop of this window may end: a quit message left in the queue otherwise
        // would end the next message box at once.
        if (running_)
            PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Input given before the close waits its turn: a window manager's close request can arrive
// ahead of clicks still queued (Wine sends it at once), and a timer comes only once the input
// before it has been handled.
LRESULT Win32Window::onClose(HWND window)
{
    if (HIWORD(GetQueueStatus(QS_INPUT)) != 0 && SetTimer(window, kCloseTimer, 0, nullptr))
        return 0;
    DestroyWindow(window);
    return 0;
}

LRESULT Win32Window::onCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    const auto control = indexOf(reinterpret_cast<HWND>(lParam));
    if (control && layout_.controls[*control].kind == layout::ControlKind::CommandButton)
        sink_(ControlEvent{*control, EventKind::Click});
    return 0;
}

} // namespace kt5::platform::win32
