#pragma once

#include "platform/playback_result.h"
#include "tone_file/tone_file.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace kt5::platform::policy {

using Clock = std::chrono::steady_clock;

// The length of `frames` at `rate`, on the clock.
inline Clock::duration lengthOf(std::uint64_t frames, std::uint32_t rate)
{
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(double(frames) / rate));
}

// A checked tone file made ready for one output: how long it lasts, and how it is played.
struct ReadySound {
    std::uint64_t frames{};
    std::uint32_t sampleRate{};
    // Plays the sound whole, and gives up, having stopped it, where the output lets it see
    // `deadline` pass. Owns what it plays: it runs on a thread of its own, which may outlive
    // the play that started it while the output does not answer.
    std::function<PlaybackResult(Clock::time_point deadline)> play;

    Clock::duration length() const { return lengthOf(frames, sampleRate); }
};

// Where a tone is heard. An output only makes a tone ready and plays it; every rule about
// which tone may play, and for how long, is the playback policy's.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Makes `file` ready to play, before the output is asked for anything, so that a file it
    // cannot play makes no sound at all: decoded whole where the output takes samples. Its
    // length is the sound's own: its frames at its rate.
    virtual Outcome<ReadySound> prepare(ToneFile file) = 0;

    // Stops a sound that has overrun its deadline, where the output can be told to. It may
    // not return while the output does not answer, so it is never called on the thread that
    // waits for the sound.
    virtual void stop() {}
};

} // namespace kt5::platform::policy
