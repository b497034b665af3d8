#pragma once

#include "platform/platform_services.h"

class QWidget;

namespace kt5::platform::qt {

// The platform services on Qt Widgets. Needs a QApplication to exist.
class QtPlatformServices final : public PlatformServices {
public:
    void messageBox(std::string_view text, std::string_view title, int style) override;
    NativeString applicationDirectory() override;
};

} // namespace kt5::platform::qt
