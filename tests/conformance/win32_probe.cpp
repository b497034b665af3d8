// The conformance suite's view of the Win32 backend, under Wine: real input (SendInput) handled
// as the window's loop does; another DPI arrives as WM_DPICHANGED, as on another screen.
#include "conformance/window_probe.h"
#include "os/windows_text.h"
#include "platform/window_system.h"
#include "product/product.h"
#include "win32/win32_handles.h"
#include "win32/win32_window.h"

#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <oleacc.h>

namespace kt5::test {
namespace {

constexpr platform::ProgramIdentity kIdentity{product::kDisplayName, product::kDesktopId};

using platform::utf8FromNative;

void press(INPUT down)
{
    INPUT both[2] = {down, down};
    if (down.type == INPUT_KEYBOARD)
        both[1].ki.dwFlags = KEYEVENTF_KEYUP;
    else
        both[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, both, sizeof(INPUT));
}

void pressKey(WORD key)
{
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    press(down);
}

// What a thread timer does while a message box runs its own loop; timers carry no context.
std::function<bool()> whileBoxLoops;

void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer); // not again while the last call runs
    if (whileBoxLoops && !whileBoxLoops())
        SetTimer(nullptr, 0, 20, &onTimer);
}

class Win32Probe final : public WindowProbe {
public:
    platform::DesktopServices& desktop() override { return started_.system->desktop(); }

    void open(const layout::FormLayout& layout, platform::EventSink sink) override
    {
        layout_ = &layout;
        built_ = started_.system->buildWindow(layout, std::move(sink));
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
        RECT r = screenRectOf(control);
        MapWindowPoints(nullptr, form(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    // Resizable by its border, by a maximise button, or by the request to maximise that a
    // title bar's double click or the window menu sends.
    bool resizable() override
    {
        SendMessageW(form(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return (GetWindowLongPtrW(form(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != 0 ||
               IsZoomed(form());
    }

    bool hasIcon() override { return SendMessageW(form(), WM_GETICON, ICON_BIG, 0) != 0; }

    int textWidth(std::size_t control) override
    {
        LOGFONTW font{};
        GetObjectW(
            reinterpret_cast<HFONT>(SendMessageW(window_->control(control), WM_GETFONT, 0, 0)),
            sizeof font, &font);
        const platform::win32::UniqueFont handle(CreateFontIndirectW(&font));
        const platform::win32::UniqueDc dc(CreateCompatibleDC(nullptr));
        const platform::win32::SelectedObject selected(dc.get(), handle.get());
        const std::wstring text = platform::os::wideFromUtf8(layout_->controls[control].text);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }

    Pixel pixel(int x, int y) override
    {
        HDC dc = GetDC(form());
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(form(), dc);
        return pixelOf(colour);
    }

    std::pair<Pixel, Pixel> desktopButtonFaceAndText() override
    {
        return {pixelOf(GetSysColor(COLOR_BTNFACE)), pixelOf(GetSysColor(COLOR_BTNTEXT))};
    }

    // Read back as a screen reader reads it, through Active Accessibility.
    std::string accessibleName(std::size_t control) override
    {
        std::string result;
        askAccessible(control, [&](IAccessible& accessible, VARIANT self) {
            BSTR name = nullptr;
            if (SUCCEEDED(accessible.get_accName(self, &name)) && name != nullptr)
                result = utf8FromNative(name);
            SysFreeString(name);
        });
        return result;
    }

    bool presentedAsVisible(std::size_t control) override
    {
        bool visible = false;
        askAccessible(control, [&](IAccessible& accessible, VARIANT self) {
            VARIANT state{};
            visible = SUCCEEDED(accessible.get_accState(self, &state)) && state.vt == VT_I4 &&
                      (state.lVal & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
        });
        return visible;
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
        const RECT r = screenRectOf(control);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT down{};
        down.type = INPUT_MOUSE;
        down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        test::press(down);
        if (!whileBoxLoops) // inside a box, its own loop handles the input
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
        std::optional<MessageBoxSeen> seen;
        whileBoxLoops = [&] {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box == nullptr || !IsWindowVisible(box))
                return false;
            wchar_t title[64]{};
            wchar_t text[128]{};
            GetWindowTextW(box, title, 64);
            GetDlgItemTextW(box, 0xFFFF, text, 128); // the box's text has this id everywhere
            seen = MessageBoxSeen{utf8FromNative(text), utf8FromNative(title), false};
            for (HWND c = nullptr; (c = FindWindowExW(box, c, L"Static", nullptr)) != nullptr;)
                if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    seen->exclamationIcon =
                        reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)) ==
                        LoadIconW(nullptr, IDI_EXCLAMATION);
            whileOpen();
            pressKey(VK_RETURN); // after what whileOpen queued, in the box's own loop
            return true;
        };
        SetTimer(nullptr, 0, 20, &onTimer);
        trigger();
        whileBoxLoops = nullptr;
        return seen;
    }

private:
    HWND form() const { return window_->handle(); }
    static Pixel pixelOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

    void askAccessible(std::size_t control, const std::function<void(IAccessible&, VARIANT)>& ask)
    {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window_->control(control), OBJID_CLIENT,
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&accessible))))
            return;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        ask(*accessible, self);
        accessible->Release();
    }

    RECT screenRectOf(std::size_t control) const
    {
        RECT r{};
        GetWindowRect(window_->control(control), &r);
        return r;
    }

    // Handles what is queued, as the window's loop does, until the queue has stayed empty
    // for a moment; input reaches it through the window system, not at once.
    void pump()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (int quiet = 0; quiet < 6 && std::chrono::steady_clock::now() < deadline; ++quiet) {
            for (MSG m{}; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); quiet = 0)
                if (!window_->preTranslate(m)) {
                    TranslateMessage(&m);
                    DispatchMessageW(&m);
                }
            Sleep(5);
        }
    }

    platform::StartedWindowSystem started_ = platform::startWindowSystem(kIdentity);
    const layout::FormLayout* layout_ = nullptr;
    platform::BuiltWindow built_;
    platform::win32::Win32Window* window_ = nullptr;
};

} // namespace

std::unique_ptr<WindowProbe> makeWindowProbe()
{
    return std::make_unique<Win32Probe>();
}

} // namespace kt5::test
