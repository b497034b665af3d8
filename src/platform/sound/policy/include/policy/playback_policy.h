#pragma once

#include "platform/sound_service.h"
#include "policy/sound_output.h"

#include <chrono>
#include <memory>

namespace kt5::platform::policy {

struct PlaybackTimes {
    // Beyond the sound's own length, how long the output may take to start and finish it.
    std::chrono::milliseconds grace{2000};
    // How long the caller waits past the deadline for the output to say itself why it stopped.
    std::chrono::milliseconds reportMargin{500};
};

// The sound service of both platforms, which keeps the rules of SoundService over `output`:
// one sound at a time for the whole process; the file read and checked whole, and made ready
// by the output, before the output is asked to play; a length no tone exceeds; and the caller
// back by the sound's length, the grace and the margin however the output behaves. The
// output plays on a thread of its own and is shared with it, so that an output stuck inside
// a sound server outlives the service safely.
std::unique_ptr<SoundService> createPolicedService(std::shared_ptr<SoundOutput> output,
                                                   PlaybackTimes times = {});

} // namespace kt5::platform::policy
