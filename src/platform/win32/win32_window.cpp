#include "platform/win32/win32_window.h"

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_units.h"

#include <algorithm>

namespace kt5::platform::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"Kt5Form";
constexpr wchar_t kFrameClass[] = L"Kt5Frame";
constexpr int kFirstControlId = 1000; // clear of IDOK and IDCANCEL, which mean nothing here

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

COLORREF colorRef(const Color& color)
{
    return color.isSystem() ? GetSysColor(color.systemIndex()) : COLORREF{color.value};
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::CommandButton || kind == ControlKind::TextBox;
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

void Win32Window::registerClasses()
{
    static const bool registered = [] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = &Win32Window::formProc;
        form.hInstance = instance();
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.lpszClassName = kFormClass;
        WNDCLASSEXW frame = form;
        frame.lpfnWndProc = &Win32Window::frameProc;
        frame.lpszClassName = kFrameClass;
        return RegisterClassExW(&form) != 0 && RegisterClassExW(&frame) != 0;
    }();
    (void)registered;
}

Win32Window::Win32Window(const WindowDescription& description, EventSink sink)
    : description_(description)
    , sink_(std::move(sink))
{
    registerClasses();
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (description.minimizeButton)
        style |= WS_MINIMIZEBOX;
    if (description.maximizeButton)
        style |= WS_MAXIMIZEBOX;
    form_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, wideFromUtf8(description.caption).c_str(),
                        style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                        nullptr, instance(), this);
    if (form_ == nullptr)
        return;

    const std::wstring iconName = wideFromUtf8(description.icon);
    for (const auto& [size, which] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int pixels = GetSystemMetrics(which);
        // Shared: loaded from the executable's resources and never destroyed by hand.
        if (auto* icon = static_cast<HICON>(
                LoadImageW(instance(), iconName.c_str(), IMAGE_ICON, pixels, pixels, LR_SHARED)))
            SendMessageW(form_, WM_SETICON, static_cast<WPARAM>(size),
                         reinterpret_cast<LPARAM>(icon));
    }
    createControls();
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
    for (const auto& c : description_.controls) {
        HWND parent = c.parent.empty() ? form_ : controlHandle(c.parent);
        const std::wstring caption = wideFromUtf8(c.caption);
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
        HWND handle =
            CreateWindowExW(exStyle, windowClass, caption.c_str(), style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance(), this);
        controls_.push_back({&c, handle});
    }

    // A later control lies above an earlier one, and labels, drawn on their parent's
    // surface, below every control that is a window of its own.
    for (const auto& control : controls_)
        if (control.description->kind != ControlKind::Label)
            SetWindowPos(control.handle, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const auto& control : controls_)
        if (control.description->kind == ControlKind::Label)
            SetWindowPos(control.handle, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    std::vector<std::pair<int, HWND>> order;
    for (const auto& control : controls_)
        if (takesFocus(control.description->kind) && control.description->tabIndex)
            order.emplace_back(*control.description->tabIndex, control.handle);
    std::sort(order.begin(), order.end());
    for (const auto& entry : order)
        tabOrder_.push_back(entry.second);
}

// Sizes, positions and fonts for a DPI; called at creation and when the window moves to a
// screen of another DPI.
void Win32Window::applyDpi(UINT dpi)
{
    dpi_ = dpi;
    fonts_.clear();
    RECT frame{0, 0, pixelsFromTwips(description_.clientWidth, dpi),
               pixelsFromTwips(description_.clientHeight, dpi)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    SetWindowPos(form_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (const auto& control : controls_) {
        const Rect& r = control.description->rect;
        MoveWindow(control.handle, pixelsFromTwips(r.left, dpi), pixelsFromTwips(r.top, dpi),
                   pixelsFromTwips(r.width, dpi), pixelsFromTwips(r.height, dpi), FALSE);
    }
    for (const auto& control : controls_)
        SendMessageW(control.handle, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fontFor(fontOf(*control.description))), FALSE);
    InvalidateRect(form_, nullptr, TRUE);
}

const Font& Win32Window::fontOf(const ControlDescription& control) const
{
    return control.font ? *control.font : description_.font;
}

// The described font; where the face installed under its name is wider than the one the
// layout was made for, narrowed until every label using it shows its whole text.
HFONT Win32Window::fontFor(const Font& font)
{
    for (const auto& [described, handle] : fonts_)
        if (*described == font)
            return handle.get();

    const auto create = [&](int width) {
        return UniqueFont(CreateFontW(
            fontHeightFromPoints(font.points, dpi_), width, 0, 0, font.weight, font.italic,
            font.underline, font.strikeout, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
            wideFromUtf8(font.face).c_str()));
    };
    UniqueFont created = create(0);

    const WindowDc dc(form_);
    double overflow = 1.0;
    TEXTMETRICW metrics{};
    {
        const SelectedObject selected(dc.get(), created.get());
        GetTextMetricsW(dc.get(), &metrics);
        for (const auto& control : controls_) {
            const ControlDescription& c = *control.description;
            if (c.kind != ControlKind::Label || c.caption.empty() || fontOf(c) != font)
                continue;
            const std::wstring text = wideFromUtf8(c.caption);
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
            overflow = std::max(overflow, double(extent.cx) / pixelsFromTwips(c.rect.width, dpi_));
        }
    }
    if (overflow > 1.0)
        created = create(static_cast<int>(metrics.tmAveCharWidth / overflow));
    fonts_.emplace_back(&font, std::move(created));
    return fonts_.back().second.get();
}

HBRUSH Win32Window::brushFor(COLORREF color)
{
    auto& brush = brushes_[color];
    if (!brush)
        brush.reset(CreateSolidBrush(color));
    return brush.get();
}

HWND Win32Window::controlHandle(std::string_view name, std::optional<std::int16_t> index) const
{
    for (const auto& control : controls_)
        if (control.description->name == name && control.description->index == index)
            return control.handle;
    return nullptr;
}

const Win32Window::Control* Win32Window::find(HWND handle) const
{
    for (const auto& control : controls_)
        if (control.handle == handle)
            return &control;
    return nullptr;
}

void Win32Window::show()
{
    ShowWindow(form_, SW_SHOWNORMAL);
    UpdateWindow(form_);
    if (!tabOrder_.empty())
        SetFocus(tabOrder_.front());
}

void Win32Window::showAndRun()
{
    show();
    // Clicks on a button run their handler to completion inside this loop; input that
    // arrives meanwhile waits in the thread's queue and is delivered afterwards, in order.
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Win32Window::preTranslate(MSG& message)
{
    // Tab follows the tab indexes across the form and its frames, which the dialog manager's
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
    if (tabOrder_.empty())
        return;
    const auto current = std::find(tabOrder_.begin(), tabOrder_.end(), GetFocus());
    const auto count = static_cast<std::ptrdiff_t>(tabOrder_.size());
    std::ptrdiff_t at = current == tabOrder_.end() ? -1 : current - tabOrder_.begin();
    at = backwards ? (at <= 0 ? count - 1 : at - 1) : (at + 1) % count;
    SetFocus(tabOrder_[static_cast<std::size_t>(at)]);
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
        if (const Control* frame = self->find(window))
            return reinterpret_cast<LRESULT>(self->fontFor(self->fontOf(*frame->description)));
        return 0;
    case WM_SETFONT: // the frame paints with its described font
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
        return onControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 brushFor(colorRef(description_.backColor)));
        return 1;
    }
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        applyDpi(HIWORD(wParam));
        SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
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
    const Control* control = find(reinterpret_cast<HWND>(lParam));
    if (control != nullptr && control->description->kind == ControlKind::CommandButton)
        sink_(ControlEvent{control->description->name, control->description->index,
                           EventKind::Click});
    return 0;
}

LRESULT Win32Window::onControlColor(HDC dc, HWND handle)
{
    const Control* control = find(handle);
    const ControlDescription* c = control != nullptr ? control->description : nullptr;
    const bool isTextBox = c != nullptr && c->kind == ControlKind::TextBox;
    const Color defaultBack = isTextBox ? Color{0x80000000u | COLOR_WINDOW} : kButtonFace;
    const Color defaultFore = isTextBox ? Color{0x80000000u | COLOR_WINDOWTEXT} : kButtonText;
    const COLORREF back = colorRef(c != nullptr && c->backColor ? *c->backColor : defaultBack);
    SetTextColor(dc, colorRef(c != nullptr && c->foreColor ? *c->foreColor : defaultFore));
    SetBkColor(dc, back);
    return reinterpret_cast<LRESULT>(brushFor(back));
}

// The frame's group-box look: an etched border whose top runs through the middle of the
// caption, the caption in the frame's own font and colour.
void Win32Window::onPaintFrame(HWND frame)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(frame, &paint);
    const Control* control = find(frame);
    if (control != nullptr) {
        const ControlDescription& c = *control->description;
        RECT area{};
        GetClientRect(frame, &area);
        const COLORREF back = colorRef(c.backColor ? *c.backColor : kButtonFace);
        FillRect(dc, &area, brushFor(back));

        const SelectedObject font(dc, fontFor(fontOf(c)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT border = area;
        border.top += metrics.tmHeight / 2;
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);

        const std::wstring caption = wideFromUtf8(c.caption);
        if (!caption.empty()) {
            const int inset = MulDiv(8, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI);
            SetTextColor(dc, colorRef(c.foreColor ? *c.foreColor : kButtonText));
            SetBkColor(dc, back);
            SetBkMode(dc, OPAQUE);
            const std::wstring padded = L" " + caption + L" ";
            TextOutW(dc, inset, 0, padded.c_str(), static_cast<int>(padded.size()));
        }
    }
    EndPaint(frame, &paint);
}

} // namespace kt5::platform::win32
