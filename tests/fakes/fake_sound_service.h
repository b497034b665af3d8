#pragma once

#include "platform/sound_service.h"

#include <vector>

namespace kt5::test {

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
