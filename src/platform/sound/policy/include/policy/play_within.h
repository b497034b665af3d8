#pragma once

#include "platform/playback_result.h"
#include "policy/sound_slot.h"

#include <chrono>
#include <functional>

namespace kt5::platform::policy {

using Clock = std::chrono::steady_clock;

// A sound's length in seconds, as a decoded sound and a wave file's layout give it, on the clock.
inline Clock::duration lengthOf(double seconds)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

struct PlaybackTimes {
    // Beyond the sound's own length, how long the output may take to start and finish it.
    std::chrono::milliseconds grace{2000};
    // How long the caller waits past the deadline for the output to say itself why it stopped.
    std::chrono::milliseconds reportMargin{500};
};

// Plays a sound of `length` through `play`, given its deadline (the length and the grace from
// now), on a thread of its own, and returns what it said; or, when it has not returned by
// the deadline and the margin, calls `stop` and says the output timed out. A sound system
// that stops answering can hold a call for as long as it is stopped, and the caller, the
// window's thread, must not wait with it. The thread keeps `slot` until `play` has returned,
// so sounds asked for meanwhile are refused at once rather than queued behind it, and the
// first asked for once the output answers again plays.
PlaybackResult playWithin(SoundSlot slot, Clock::duration length,
                          std::function<PlaybackResult(Clock::time_point deadline)> play,
                          const std::function<void()>& stop, PlaybackTimes times);

} // namespace kt5::platform::policy
