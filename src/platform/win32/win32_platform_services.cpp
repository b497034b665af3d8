#include "platform/win32/win32_platform_services.h"

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"

#include <cstdio>

namespace kt5::platform::win32 {

namespace {

UINT iconStyle(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case MessageIcon::Error:
        return MB_ICONERROR;
    case MessageIcon::None:
        break;
    }
    return 0;
}

} // namespace

void Win32PlatformServices::messageBox(std::string_view text, std::string_view title,
                                       MessageIcon icon)
{
    // Owned by the window, which is disabled while the box is open: clicks on it are refused,
    // not queued.
    const HWND owner = IsWindow(owner_) ? owner_ : nullptr;
    MessageBoxW(owner, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(),
                MB_OK | iconStyle(icon));
}

NativeString Win32PlatformServices::applicationDirectory()
{
    // Grown until the whole path fits: long paths exceed MAX_PATH.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return directoryOfModule(path);
        }
        path.resize(path.size() * 2);
    }
}

// A program of the GUI subsystem often has no standard error to write to; the debugger's
// output is where a Windows developer looks.
void Win32PlatformServices::reportError(std::string_view line)
{
    std::fprintf(stderr, "kt5_dtmf: %.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stderr);
    OutputDebugStringW((L"kt5_dtmf: " + wideFromUtf8(line) + L"\n").c_str());
}

BuiltWindow Win32PlatformServices::buildWindow(const WindowLayout& layout, EventSink sink)
{
    auto window = std::make_unique<Win32Window>(layout, std::move(sink));
    if (!window->failure().empty())
        return {nullptr, window->failure()};
    owner_ = window->handle();
    return {std::move(window), {}};
}

} // namespace kt5::platform::win32

namespace kt5::platform {

std::unique_ptr<PlatformServices> createPlatformServices()
{
    return std::make_unique<win32::Win32PlatformServices>();
}

} // namespace kt5::platform
