#pragma once

#include "alsa_output/asound_library.h"
#include "decoder/decoded_sound.h"
#include "policy/sound_output.h"

namespace kt5::platform::alsa {

using policy::Clock;

// ALSA's "default" PCM, through the libasound functions `alsa`: opened for each sound, written
// to its end and drained. Every wait of its own is bounded by the deadline: a tone that can no
// longer end by then is not started, and a device that stops taking or draining the sound is
// stopped there and the result says it timed out. The calls into a plugin itself are not
// bounded: a sound server's plugin can hold one for as long as the server is stopped.
class AlsaOutput {
public:
    explicit AlsaOutput(const AsoundApi& alsa)
        : alsa_(alsa)
    {
    }
    // Plays the whole of `sound` and returns once the output says its last sample has
    // sounded, and no sooner than its length after its first.
    PlaybackResult playWhole(const decoder::DecodedSound& sound, Clock::time_point deadline);

private:
    const AsoundApi& alsa_;
};

} // namespace kt5::platform::alsa
