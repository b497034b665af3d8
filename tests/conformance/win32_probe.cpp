// The conformance suite's view of the Win32 backend, run under Wine. Input is real input
// (SendInput), handled by the window's own message handling as its loop does; a resolution
// other than 96 DPI reaches the window as WM_DPICHANGED, as when it moves to another screen.
#include "conformance/window_probe.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform_services.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"
#include "support/watchdog.h"

#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <oleacc.h>

namespace kt5::test {
namespace {

using platform::win32::utf8FromWide;

void send(std::initializer_list<INPUT> inputs)
{
    std::vector<INPUT> list(inputs);
    SendInput(static_cast<UINT>(list.size()), list.data(), sizeof(INPUT));
}

void pressKey(WORD key)
{
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    send({down, up});
}

void clickAt(HWND target)
{
    RECT r{};
    GetWindowRect(target, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send({down, up});
}

// What the box watcher, a thread timer, works with while a box is open.
struct BoxWatch {
    std::optional<WindowProbe::MessageBoxSeen> seen;
    const std::function<void()>* whileOpen = nullptr;
};
BoxWatch* watch = nullptr;

BOOL CALLBACK readBoxChild(HWND child, LPARAM)
{
    wchar_t className[32]{};
    GetClassNameW(child, className, 32);
    if (std::wstring(className) != L"Static")
        return TRUE;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        watch->seen->exclamationIcon = icon == LoadIconW(nullptr, IDI_EXCLAMATION);
    } else if (wchar_t text[128]{}; GetWindowTextW(child, text, 128) > 0) {
        watch->seen->text = utf8FromWide(text);
    }
    return TRUE;
}

void CALLBACK lookForBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, timer);
    wchar_t title[64]{};
    GetWindowTextW(box, title, 64);
    watch->seen = WindowProbe::MessageBoxSeen{{}, utf8FromWide(title), false};
    EnumChildWindows(box, &readBoxChild, 0);
    (*watch->whileOpen)();
    pressKey(VK_RETURN); // after what whileOpen queued, in the box's own loop
}

class Win32Probe final : public WindowProbe {
public:
    platform::PlatformServices& services() override { return services_; }

    void open(const platform::WindowLayout& layout, platform::EventSink sink) override
    {
        layout_ = &layout;
        built_ = services_.buildWindow(layout, std::move(sink));
        window_ = static_cast<platform::win32::Win32Window*>(built_.window.get());
        window_->show();
        if (const char* scale = std::getenv("KT5_TEST_SCALE")) {
            const auto dpi = static_cast<WORD>(std::lround(96 * std::atof(scale)));
            RECT suggested{};
            GetWindowRect(form(), &suggested);
            SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        activate();
    }

    double scale() override { return window_->dpi() / 96.0; }

    Box client() override
    {
        RECT r{};
        GetClientRect(form(), &r);
        return {0, 0, r.right, r.bottom};
    }

    Box rectOf(std::size_t control) override
    {
        RECT r{};
        GetWindowRect(window_->control(control), &r);
        MapWindowPoints(nullptr, form(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    TitleBar titleBar() override
    {
        wchar_t caption[128]{};
        GetWindowTextW(form(), caption, 128);
        const auto style = GetWindowLongPtrW(form(), GWL_STYLE);
        return {utf8FromWide(caption), (style & WS_THICKFRAME) != 0, (style & WS_MINIMIZEBOX) != 0,
                (style & WS_MAXIMIZEBOX) != 0};
    }

    int textWidth(std::size_t control, bool natural) override
    {
        LOGFONTW font{};
        GetObjectW(
            reinterpret_cast<HFONT>(SendMessageW(window_->control(control), WM_GETFONT, 0, 0)),
            sizeof font, &font);
        if (natural)
            font.lfWidth = 0;
        const platform::win32::UniqueFont handle(CreateFontIndirectW(&font));
        const platform::win32::UniqueDc dc(CreateCompatibleDC(nullptr));
        const platform::win32::SelectedObject selected(dc.get(), handle.get());
        const std::wstring text = platform::win32::wideFromUtf8(layout_->controls[control].text);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }

    Pixel pixel(int x, int y) override
    {
        HDC dc = GetDC(form());
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(form(), dc);
        return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    }

    std::string accessibleName(std::size_t control) override
    {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window_->control(control), OBJID_CLIENT,
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&accessible))))
            return {};
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        std::string result;
        if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr)
            result = utf8FromWide(name);
        SysFreeString(name);
        accessible->Release();
        return result;
    }

    std::optional<std::size_t> focused() override
    {
        for (std::size_t i = 0; i < layout_->controls.size(); ++i)
            if (window_->control(i) == GetFocus())
                return i;
        return std::nullopt;
    }

    void press(Key key) override
    {
        pressKey(key == Key::Tab ? VK_TAB : key == Key::Space ? VK_SPACE : VK_RETURN);
        pump();
    }

    void click(std::size_t control) override
    {
        clickAt(window_->control(control));
        pump();
    }

    void activate() override
    {
        SetForegroundWindow(form());
        pump();
    }

    std::optional<MessageBoxSeen> boxShownBy(const std::function<void()>& trigger,
                                             const std::function<void()>& whileOpen) override
    {
        BoxWatch seen{{}, &whileOpen};
        watch = &seen;
        SetTimer(nullptr, 0, 20, &lookForBox);
        {
            const InsideEventLoop loop;
            trigger();
        }
        watch = nullptr;
        return seen.seen;
    }

private:
    HWND form() const { return window_->handle(); }

    // Handles what is queued, as the window's loop does, until the queue has stayed empty
    // for a moment; input reaches it through the window system, not at once.
    void pump()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (int quiet = 0; quiet < 6 && std::chrono::steady_clock::now() < deadline; ++quiet) {
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                quiet = 0;
                if (!window_->preTranslate(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(5);
        }
    }

    platform::win32::Win32PlatformServices services_;
    const platform::WindowLayout* layout_ = nullptr;
    platform::BuiltWindow built_;
    platform::win32::Win32Window* window_ = nullptr;
};

} // namespace

std::unique_ptr<WindowProbe> makeWindowProbe()
{
    return std::make_unique<Win32Probe>();
}

} // namespace kt5::test
