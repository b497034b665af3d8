#pragma once

#include "platform/platform_services.h"

#include <string>
#include <vector>

namespace kt5::test {

// Records every message box instead of showing it; reports a fixed application directory.
class FakePlatformServices final : public platform::PlatformServices {
public:
    struct Box {
        std::string text;
        std::string title;
        int style = 0;
    };

    explicit FakePlatformServices(platform::NativeString applicationDir = "/opt/kt5")
        : directory(std::move(applicationDir)) {}

    void messageBox(std::string_view text, std::string_view title, int style) override {
        boxes.push_back({std::string(text), std::string(title), style});
    }
    platform::NativeString applicationDirectory() override { return directory; }

    platform::NativeString directory;
    std::vector<Box> boxes;
};

} // namespace kt5::test
