#pragma once

#include "alsa_output/asound_library.h"
#include "policy/sound_output.h"

namespace kt5::platform::alsa {

using policy::Clock;

// ALSA's "default" PCM, through the libasound functions `alsa`: opened for each sound, written
// to its end and drained. Every wait is bounded by the deadline: a device that stops taking
// the sound is stopped there and the result says it timed out. The calls into a plugin itself
// are not bounded: a sound server's plugin can hold one for as long as the server is stopped.
class AlsaOutput final : public policy::SoundOutput {
public:
    explicit AlsaOutput(const AsoundApi& alsa)
        : alsa_(alsa)
    {
    }
    PlaybackResult playWhole(const decoder::DecodedSound& sound,
                             Clock::time_point deadline) override;

private:
    const AsoundApi& alsa_;
};

} // namespace kt5::platform::alsa
