#pragma once

#include "platform/platform_services.h"

#include <memory>
#include <string>
#include <vector>

namespace kt5::test {

// Records every message box and error line instead of showing them, reports a fixed
// application directory, and keeps the layout and event sink of the window it is asked to
// build (or fails to build it, with `buildFailure`).
class FakePlatformServices final : public platform::PlatformServices {
public:
    struct Box {
        std::string text;
        std::string title;
        platform::MessageIcon icon;
    };

    void messageBox(std::string_view text, std::string_view title,
                    platform::MessageIcon icon) override
    {
        boxes.push_back({std::string(text), std::string(title), icon});
    }
    platform::NativeString applicationDirectory() override { return directory; }
    void reportError(std::string_view line) override { errors.emplace_back(line); }

    platform::BuiltWindow buildWindow(const platform::WindowLayout& layout,
                                      platform::EventSink eventSink) override
    {
        struct NoWindow final : platform::Window {
            void showAndRun() override { ++shown; }
            int& shown;
            explicit NoWindow(int& count)
                : shown(count)
            {
            }
        };
        if (!buildFailure.empty())
            return {nullptr, buildFailure};
        built = &layout;
        sink = std::move(eventSink);
        return {std::make_unique<NoWindow>(windowsRun), {}};
    }

    platform::NativeString directory = platform::nativeFromAscii("/opt/kt5");
    std::string buildFailure;
    std::vector<Box> boxes;
    std::vector<std::string> errors;
    const platform::WindowLayout* built = nullptr;
    platform::EventSink sink;
    int windowsRun = 0;
};

} // namespace kt5::test
