#include "alsa_output/alsa_output.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace kt5::platform::alsa {

namespace {

using std::chrono::milliseconds;

// How far ahead of the output the sound is written. The whole sound is at hand, so a longer
// buffer delays neither its start nor its end; what it buys is time for the writing thread to
// be late on a busy machine without the output running dry, which breaks a key in two (at
// 40 ms, a program at nice 10 beside eight busy processes had keys heard twice in every run).
// Short enough that most of a tone is still to be written when a sound server dies under it,
// so that its death is seen: what the server held already is reported by no plugin.
constexpr unsigned kLatencyMicroseconds = 300'000;
// The longest single wait, so that the deadline is looked at often.
constexpr milliseconds kLongestWait{50};
// How often a device that drains on its own is asked whether it is done.
constexpr milliseconds kDrainPoll{10};
// Underruns and resumes after suspend in a row, with no frame taken between, before the
// output is taken for gone: a server that died "recovers" without ever taking a frame again.
constexpr int kMostRecoveriesWithoutProgress = 3;

struct PcmCloser {
    const AsoundApi* alsa;
    void operator()(snd_pcm_t* pcm) const { alsa->pcm_close(pcm); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, PcmCloser>;

// Rounded up, so that the last moments before the deadline are waited through, not spun on.
milliseconds timeUntil(Clock::time_point deadline, milliseconds most)
{
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
    return std::clamp(left, milliseconds(0), most);
}

class Playback {
public:
    Playback(const AsoundApi& alsa, Clock::time_point deadline)
        : alsa_(alsa)
        , deadline_(deadline)
    {
    }

    PlaybackResult run(const decoder::DecodedSound& sound)
    {
        snd_pcm_t* raw = nullptr;
        // Non-blocking throughout: a device held by someone else fails now, and no write or
        // wait of this program's can outlast the deadline.
        if (const int error =
                alsa_.pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
            error < 0)
            return failed(PlaybackError::DeviceNotOpened, error);
        pcm_ = PcmHandle(raw, {&alsa_});
        // Resampling and channel mapping allowed: ALSA adapts the file's own format to the
        // device.
        if (const int error = alsa_.pcm_set_params(
                pcm_.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                static_cast<unsigned>(sound.channels), static_cast<unsigned>(sound.sampleRate), 1,
                kLatencyMicroseconds);
            error < 0)
            return failed(PlaybackError::DeviceNotOpened, error);

        const Clock::duration length =
            policy::lengthOf(sound.frames(), static_cast<std::uint32_t>(sound.sampleRate));
        const auto started = Clock::now();
        // A tone that can no longer end by its deadline is not started: its box would come
        // while it is heard, and a tone heard after its box is taken for the next one's.
        if (started + length > deadline_)
            return timedOut("the output opened too late for the tone to end in time");
        if (PlaybackResult written = writeAll(sound); !written)
            return written;
        PlaybackResult played = waitUntilDrained();
        // PipeWire 1.4's own plugin says it has drained while the last part of the buffer is
        // still in the server's graph, more of it the longer the buffer: no sound has ended
        // before its own length has passed since its first sample was handed over.
        if (played)
            std::this_thread::sleep_until(std::min(started + length, deadline_));
        return played;
    }

private:
    PlaybackResult writeAll(const decoder::DecodedSound& sound)
    {
        const auto channels = static_cast<std::size_t>(sound.channels);
        const std::size_t frames = sound.frames();
        std::size_t written = 0;
        int recoveriesWithoutProgress = 0;
        while (written < frames) {
            if (Clock::now() >= deadline_)
                return timedOut("the output stopped taking the sound");
            const snd_pcm_sframes_t n = alsa_.pcm_writei(
                pcm_.get(), sound.samples.data() + written * channels, frames - written);
            if (n >= 0) {
                written += static_cast<std::size_t>(n);
                recoveriesWithoutProgress = 0;
                continue;
            }
            int error = static_cast<int>(n);
            if (error == -EAGAIN) {
                error = alsa_.pcm_wait(
                    pcm_.get(), static_cast<int>(timeUntil(deadline_, kLongestWait).count()));
                if (error >= 0)
                    continue;
            }
            // Underruns, and resumes after suspend, are recovered and writing goes on.
            if (++recoveriesWithoutProgress > kMostRecoveriesWithoutProgress ||
                alsa_.pcm_recover(pcm_.get(), error, 1) < 0)
                return failed(PlaybackError::DeviceFailed, error);
        }
        return {};
    }

    // Played once the output itself says it has drained: the one call that every plugin
    // answers only when the last sample has sounded (a sound server's included, which the
    // buffer's fill level does not tell: pipewire-pulse leaves it short of empty). A sound
    // server's plugin answers it then even in non-blocking mode, though it cannot be bounded
    // while its server is stopped; a device, or dmix, says -EAGAIN while it drains, and is
    // asked again until the deadline, then stopped.
    PlaybackResult waitUntilDrained()
    {
        for (;;) {
            const int drained = alsa_.pcm_drain(pcm_.get());
            if (drained == 0 || drained == -EPIPE) // -EPIPE: it ran dry after the last sample
                return {};
            if (drained != -EAGAIN)
                return failed(PlaybackError::DeviceFailed, drained);
            if (Clock::now() >= deadline_)
                return timedOut("the output had not played the tone out by its deadline");
            std::this_thread::sleep_for(timeUntil(deadline_, kDrainPoll));
        }
    }

    PlaybackResult failed(PlaybackError error, int code) const
    {
        return PlaybackFailure{error, alsa_.strerror(code)};
    }

    PlaybackResult timedOut(const char* why)
    {
        alsa_.pcm_drop(pcm_.get());
        return PlaybackFailure{PlaybackError::TimedOut, why};
    }

    const AsoundApi& alsa_;
    const Clock::time_point deadline_;
    PcmHandle pcm_{nullptr, {nullptr}};
};

} // namespace

PlaybackResult AlsaOutput::playWhole(const decoder::DecodedSound& sound, Clock::time_point deadline)
{
    return Playback(alsa_, deadline).run(sound);
}

} // namespace kt5::platform::alsa
