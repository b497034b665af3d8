#pragma once

#include "platform/desktop_services.h"

namespace kt5::platform::os {

// The desktop services the operating system gives whatever the window system: the
// executable's directory and the program's diagnostic line. A window system adds its box.
class SystemDesktopServices : public DesktopServices {
public:
    NativeString applicationDirectory() override;
    void reportError(std::string_view line) override;
};

} // namespace kt5::platform::os
