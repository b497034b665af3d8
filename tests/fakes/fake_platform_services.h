#pragma once

#include "platform/platform_services.h"
#include "support/native_path.h"

#include <memory>
#include <string>
#include <vector>

namespace kt5::test {

// Records every message box instead of showing it, reports a fixed application directory,
// and keeps the description and event sink of the window it is asked to build.
class FakePlatformServices final : public platform::PlatformServices {
public:
    struct Box {
        std::string text;
        std::string title;
        int style = 0;
    };

    explicit FakePlatformServices(platform::NativeString applicationDir = native("/opt/kt5"))
        : directory(std::move(applicationDir))
    {
    }

    void messageBox(std::string_view text, std::string_view title, int style) override
    {
        boxes.push_back({std::string(text), std::string(title), style});
    }
    platform::NativeString applicationDirectory() override { return directory; }

    // Keeps what the window would be built from; the returned window shows nothing.
    std::unique_ptr<platform::Window> buildWindow(const platform::WindowDescription& description,
                                                  platform::EventSink eventSink) override
    {
        built = &description;
        sink = std::move(eventSink);
        struct NoWindow final : platform::Window {
            void showAndRun() override {}
        };
        return std::make_unique<NoWindow>();
    }

    platform::NativeString directory;
    std::vector<Box> boxes;
    const platform::WindowDescription* built = nullptr;
    platform::EventSink sink;
};

} // namespace kt5::test
