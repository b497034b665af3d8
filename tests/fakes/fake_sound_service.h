#pragma once

#include "platform/sound_service.h"

#include <vector>

namespace kt5::test {

// Records the paths it is asked to play and answers with a preset result.
class FakeSoundService final : public platform::SoundService {
public:
    bool playFileSync(const platform::NativeString& path) override
    {
        played.push_back(path);
        return result;
    }

    bool result = true;
    std::vector<platform::NativeString> played;
};

} // namespace kt5::test
