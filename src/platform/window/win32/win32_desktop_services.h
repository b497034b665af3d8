#pragma once

#include "platform/desktop_services.h"

#include <windows.h>

namespace kt5::platform::win32 {

// The desktop services on the Win32 API: the box is MessageBoxW, owned by the program's window.
class Win32DesktopServices final : public DesktopServices {
public:
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    NativeString applicationDirectory() override;
    void reportError(std::string_view line) override;

    void setOwner(HWND window) { owner_ = window; }

private:
    HWND owner_ = nullptr; // the window message boxes are modal over
};

} // namespace kt5::platform::win32
