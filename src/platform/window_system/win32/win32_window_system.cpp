#include "os/system_desktop_services.h"
#include "os/windows_text.h"
#include "platform/window_system.h"
#include "win32/win32_window.h"

namespace kt5::platform::win32 {

namespace {

UINT iconStyle(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        break;
    }
    return MB_ICONEXCLAMATION;
}

// The box is MessageBoxW, owned by the window built last.
class Win32DesktopServices final : public os::SystemDesktopServices {
public:
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override
    {
        // The owner is disabled while the box is open: clicks on it are refused, not queued.
        const HWND owner = IsWindow(owner_) ? owner_ : nullptr;
        MessageBoxW(owner, os::wideFromUtf8(text).c_str(), os::wideFromUtf8(title).c_str(),
                    MB_OK | iconStyle(icon));
    }
    void setOwner(HWND window) { owner_ = window; }

private:
    HWND owner_ = nullptr;
};

// The window system on the Win32 API, no toolkit: there is nothing to connect to first.
class Win32WindowSystem final : public WindowSystem {
public:
    DesktopServices& desktop() override { return desktop_; }

    BuiltWindow buildWindow(const layout::FormLayout& layout, EventSink sink) override
    {
        auto window = std::make_unique<Win32Window>(layout, std::move(sink));
        if (!window->failure().empty())
            return {nullptr, window->failure()};
        desktop_.setOwner(window->handle());
        return {std::move(window), {}};
    }

private:
    Win32DesktopServices desktop_;
};

} // namespace

} // namespace kt5::platform::win32

namespace kt5::platform {

StartedWindowSystem startWindowSystem(const ProgramIdentity&)
{
    return {std::make_unique<win32::Win32WindowSystem>(), {}};
}

} // namespace kt5::platform
