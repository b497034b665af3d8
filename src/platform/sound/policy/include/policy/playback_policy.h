#pragma once

#include "platform/sound_service.h"
#include "policy/play_within.h"
#include "policy/sound_output.h"

#include <memory>

namespace kt5::platform::policy {

// A sound service that keeps the rules of SoundService over `output`: one sound at a time for
// the whole process, the file checked and decoded whole before the output is asked for
// anything, and the caller back by the sound's length, the grace and the margin however the
// output behaves (playWithin). The output is shared with the thread that drives it, so that
// an output stuck inside a sound server outlives the service safely.
std::unique_ptr<SoundService> createPolicedService(std::shared_ptr<SoundOutput> output,
                                                   PlaybackTimes times = {});

} // namespace kt5::platform::policy
