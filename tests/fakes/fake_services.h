#pragma once

#include "platform/desktop_services.h"
#include "platform/sound_service.h"

#include <string>
#include <vector>

namespace kt5::test {

// Records message boxes and error lines instead of showing them.
class FakeDesktopServices final : public platform::DesktopServices {
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

    platform::NativeString directory = platform::nativeFromAscii("/opt/kt5");
    std::vector<Box> boxes;
    std::vector<std::string> errors;
};

// Records the paths it is asked to play and answers with a preset result.
class FakeSoundService final : public platform::SoundService {
public:
    platform::PlaybackResult play(const platform::NativeString& path) override
    {
        played.push_back(path);
        return result;
    }

    platform::PlaybackResult result;
    std::vector<platform::NativeString> played;
};

} // namespace kt5::test
