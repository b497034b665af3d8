#include "platform/win32/win32_platform_services.h"

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"

namespace kt5::platform::win32 {

void Win32PlatformServices::messageBox(std::string_view text, std::string_view title, int style)
{
    // Owned by the window, which is disabled while the box is open: clicks on it are refused,
    // not queued.
    const HWND owner = IsWindow(owner_) ? owner_ : nullptr;
    MessageBoxW(owner, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(),
                static_cast<UINT>(style));
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

std::unique_ptr<Window> Win32PlatformServices::buildWindow(const WindowDescription& description,
                                                           EventSink sink)
{
    auto window = std::make_unique<Win32Window>(description, std::move(sink));
    owner_ = window->handle();
    return window;
}

} // namespace kt5::platform::win32

namespace kt5::platform {

std::unique_ptr<PlatformServices> createPlatformServices()
{
    return std::make_unique<win32::Win32PlatformServices>();
}

} // namespace kt5::platform
