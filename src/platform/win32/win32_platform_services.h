#pragma once

#include "platform/platform_services.h"

#include <windows.h>

namespace kt5::platform::win32 {

// The platform services on the Win32 API, no toolkit.
class Win32PlatformServices final : public PlatformServices {
public:
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    NativeString applicationDirectory() override;
    void reportError(std::string_view line) override;
    BuiltWindow buildWindow(const WindowLayout& layout, EventSink sink) override;

private:
    HWND owner_ = nullptr; // the window message boxes are modal over
};

} // namespace kt5::platform::win32
