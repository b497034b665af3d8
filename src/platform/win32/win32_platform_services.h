#pragma once

#include "platform/platform_services.h"

#include <windows.h>

namespace kt5::platform::win32 {

// The platform services on the Win32 API, no toolkit.
class Win32PlatformServices final : public PlatformServices {
public:
    void messageBox(std::string_view text, std::string_view title, int style) override;
    NativeString applicationDirectory() override;
    std::unique_ptr<Window> buildWindow(const WindowDescription& description,
                                        EventSink sink) override;

private:
    HWND owner_ = nullptr; // the window message boxes are modal over
};

} // namespace kt5::platform::win32
