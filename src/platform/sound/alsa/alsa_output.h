#pragma once

#include "asound_library.h"
#include "decoder/decoded_sound.h"
#include "platform/sound_service.h"

#include <chrono>

namespace kt5::platform::alsa {

using Clock = std::chrono::steady_clock;

// Plays a sound on ALSA's "default" PCM and returns once the device has taken its last
// sample. Every wait is bounded by `deadline`: a device that stops taking the sound is
// stopped there and the result says it timed out. The calls into a plugin itself are not
// bounded: a sound server's plugin can hold one for as long as the server is stopped.
PlaybackResult playOnDefaultOutput(const AsoundApi& alsa, const decoder::DecodedSound& sound,
                                   Clock::time_point deadline);

} // namespace kt5::platform::alsa
