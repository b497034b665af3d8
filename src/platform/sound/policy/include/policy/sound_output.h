#pragma once

#include "decoder/decoded_sound.h"
#include "platform/sound_service.h"
#include "policy/play_within.h"

namespace kt5::platform::policy {

// Where a checked, decoded sound is heard: an output only writes and drains. Every rule about
// which sound may play, and for how long, is the playback policy's.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Writes the whole of `sound` and returns once the output says its last sample has
    // sounded. Gives up, having stopped the sound, when `deadline` passes while the output
    // stops taking it. A call into a sound server's plugin may still not return for as long
    // as the server is stopped: the policy does not wait for it.
    virtual PlaybackResult playWhole(const decoder::DecodedSound& sound,
                                     Clock::time_point deadline) = 0;
};

} // namespace kt5::platform::policy
