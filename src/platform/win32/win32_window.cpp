#include "platform/win32/win32_window.h"

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_units.h"

#include <algorithm>

namespace kt5::platform::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"Kt5Form";
constexpr wchar_t kFrameClass[] = L"Kt5Frame";
constexpr int kFirstControlId = 1000; // clear of IDOK and IDCANCEL, which mean nothing here
constexpr UINT_PTR kCloseTimer = 1;

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

COLORREF colorRef(const Colour& colour)
{
    if (const auto* rgb = std::get_if<Rgb>(&colour))
        return RGB(rgb->red, rgb->green, rgb->blue);
    switch (std::get<SystemColour>(colour)) {
    case SystemColour::ButtonText:
        return GetSysColor(COLOR_BTNTEXT);
    case SystemColour::Window:
        return GetSysColor(COLOR_WINDOW);
    case SystemColour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case SystemColour::ButtonFace:
        break;
    }
    return GetSysColor(COLOR_BTNFACE);
}

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
                return "window class not registered: " + systemErrorText(GetLastError());
        return {};
    }();
    return failure;
}

Win32Window* ownerOf(HWND window)
{
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Both window classes carry their Win32Window in the user data, from WM_NCCREATE on.
Win32Window* attach(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return ownerOf(window);
}

} // namespace

Win32Window::Win32Window(const WindowLayout& layout, EventSink sink)
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
    form_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, wideFromUtf8(layout.caption).c_str(),
                            style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            nullptr, nullptr, instance(), this);
    if (form_ == nullptr) {
        failure_ = "window not created: " + systemErrorText(GetLastError());
        return;
    }

    const std::wstring iconName = wideFromUtf8(layout.icon);
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
        case ControlKind::Frame:
            windowClass = kFrameClass;
            style |= WS_CLIPCHILDREN;
            exStyle = WS_EX_CONTROLPARENT;
            break;
        case ControlKind::CommandButton:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        }
        HWND handle = CreateWindowExW(
            exStyle, windowClass, wideFromUtf8(c.text).c_str(), style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance(), this);
        if (handle == nullptr) {
            failure_ = "control " + c.id + " not created: " + systemErrorText(GetLastError());
            return;
        }
        controls_.push_back(handle);
        if (!c.accessibleName.empty())
            accessibleNames_.give(handle, c.accessibleName);
    }
    for (const std::size_t i : layout_.stacking)
        SetWindowPos(controls_[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Sizes, positions and fonts for a DPI; called at creation and when the window moves to a
// screen of another DPI.
void Win32Window::applyDpi(UINT dpi)
{
    dpi_ = dpi;
    sizeClientArea(pixelsFromTwips(layout_.clientWidth, dpi),
                   pixelsFromTwips(layout_.clientHeight, dpi));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Rect& r = layout_.controls[i].rect;
        MoveWindow(controls_[i], pixelsFromTwips(r.left, dpi), pixelsFromTwips(r.top, dpi),
                   pixelsFromTwips(r.width, dpi), pixelsFromTwips(r.height, dpi), FALSE);
    }
    // Text widths do not scale exactly with the DPI, so the fonts are fitted afresh.
    fitted_ = layout_.fitFonts(layout_, [this](const Font& font, std::string_view text) {
        return fonts_.widthInTwips(font, text, dpi_);
    });
    for (std::size_t i = 0; i < controls_.size(); ++i)
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(i)), FALSE);
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

LRESULT CALLBACK Win32Window::formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Win32Window* self = attach(window, message, lParam))
        return self->handleMessage(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A frame passes its children's notifications on to the form, which handles them all.
LRESULT CALLBACK Win32Window::frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win32Window* self = attach(window, message, lParam);
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

LRESULT Win32Window::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return onCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brushFor(colorRef(layout_.background)));
        return 1;
    }
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
    case WM_CLOSE:
        // Input given before the close waits its turn: a window manager's close request can
        // arrive ahead of clicks still queued (Wine sends it at once), and a timer comes only
        // once the input before it has been handled.
        if (HIWORD(GetQueueStatus(QS_INPUT)) != 0 && SetTimer(window, kCloseTimer, 0, nullptr))
            return 0;
        DestroyWindow(window);
        return 0;
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

LRESULT Win32Window::onCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    const auto control = indexOf(reinterpret_cast<HWND>(lParam));
    if (control && layout_.controls[*control].kind == ControlKind::CommandButton)
        sink_(ControlEvent{layout_.controls[*control].name, layout_.controls[*control].index,
                           EventKind::Click});
    return 0;
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

// The frame's group-box look: an etched border whose top runs through the middle of the
// caption, the caption in the frame's own font and colour.
void Win32Window::onPaintFrame(HWND frame)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(frame, &paint);
    if (const auto control = indexOf(frame)) {
        const ControlLayout& c = layout_.controls[*control];
        RECT area{};
        GetClientRect(frame, &area);
        const COLORREF background = colorRef(c.background);
        FillRect(dc, &area, brushFor(background));

        const SelectedObject font(dc, fontOf(*control));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT border = area;
        border.top += metrics.tmHeight / 2;
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);

        if (!c.text.empty()) {
            SetTextColor(dc, colorRef(c.foreground));
            SetBkColor(dc, background);
            SetBkMode(dc, OPAQUE);
            const std::wstring padded = L" " + wideFromUtf8(c.text) + L" ";
            TextOutW(dc, pixelsFromTwips(layout_.frameCaptionInset, dpi_), 0, padded.c_str(),
                     static_cast<int>(padded.size()));
        }
    }
    EndPaint(frame, &paint);
}

} // namespace kt5::platform::win32
