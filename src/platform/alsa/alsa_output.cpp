#include "platform/alsa/alsa_output.h"

#include "platform/alsa/audio_libraries.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace kt5::platform::alsa {

namespace {

using Clock = std::chrono::steady_clock;

// Short enough that a tone starts and ends promptly, long enough to ride out a busy desktop.
constexpr unsigned kLatencyMicroseconds = 40'000;
// Beyond the sound's own length, how long the device may take to play out its buffers.
constexpr auto kDrainGrace = std::chrono::seconds(2);
constexpr auto kDrainPollInterval = std::chrono::milliseconds(2);

struct PcmCloser {
    const AsoundApi* alsa;
    void operator()(snd_pcm_t* pcm) const { alsa->pcm_close(pcm); }
};
using PcmHandle = std::unique_ptr<snd_pcm_t, PcmCloser>;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA's error handler is a library-wide setting; install ours once, before the first open,
// so failures reach the caller as a result instead of as text on stderr.
void silenceAlsaErrors(const AsoundApi& alsa)
{
    static std::once_flag once;
    std::call_once(once, [&] { alsa.lib_error_set_handler(&ignoreAlsaError); });
}

PcmHandle openDefaultPcm(const AsoundApi& alsa, const DecodedSound& sound)
{
    snd_pcm_t* raw = nullptr;
    // Non-blocking open: a device held by someone else fails now instead of waiting.
    if (alsa.pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    PcmHandle pcm(raw, {&alsa});
    if (alsa.pcm_nonblock(pcm.get(), 0) < 0)
        return nullptr;
    // Resampling and channel mapping allowed: ALSA adapts the file's own format to the device.
    if (alsa.pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                            static_cast<unsigned>(sound.channels),
                            static_cast<unsigned>(sound.sampleRate), 1, kLatencyMicroseconds) < 0)
        return nullptr;
    return pcm;
}

bool writeAll(const AsoundApi& alsa, snd_pcm_t* pcm, const DecodedSound& sound)
{
    const auto channels = static_cast<std::size_t>(sound.channels);
    const std::size_t frames = sound.frames();
    std::size_t written = 0;
    while (written < frames) {
        const snd_pcm_sframes_t n =
            alsa.pcm_writei(pcm, sound.samples.data() + written * channels, frames - written);
        if (n >= 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        // Underruns and resumes after suspend are recovered and writing goes on.
        if (alsa.pcm_recover(pcm, static_cast<int>(n), 1) < 0)
            return false;
    }
    return true;
}

bool drainWithin(const AsoundApi& alsa, snd_pcm_t* pcm, Clock::duration limit)
{
    // Draining in non-blocking mode lets the wait be bounded; a plugin that only drains
    // synchronously simply finishes inside snd_pcm_drain.
    if (alsa.pcm_nonblock(pcm, 1) < 0)
        return false;
    const int result = alsa.pcm_drain(pcm);
    if (result == 0)
        return true;
    if (result != -EAGAIN)
        return false;
    const auto deadline = Clock::now() + limit;
    while (alsa.pcm_state(pcm) == SND_PCM_STATE_DRAINING) {
        if (Clock::now() >= deadline) {
            alsa.pcm_drop(pcm);
            return false;
        }
        std::this_thread::sleep_for(kDrainPollInterval);
    }
    return true;
}

} // namespace

bool playOnDefaultOutput(const DecodedSound& sound)
{
    const AsoundApi* alsa = asoundApi();
    if (sound.frames() == 0 || alsa == nullptr)
        return false;
    silenceAlsaErrors(*alsa);
    const PcmHandle pcm = openDefaultPcm(*alsa, sound);
    if (!pcm)
        return false;
    if (!writeAll(*alsa, pcm.get(), sound)) {
        alsa->pcm_drop(pcm.get());
        return false;
    }
    const auto soundLength = std::chrono::duration<double>(sound.seconds());
    return drainWithin(*alsa, pcm.get(),
                       std::chrono::duration_cast<Clock::duration>(soundLength) + kDrainGrace);
}

} // namespace kt5::platform::alsa
