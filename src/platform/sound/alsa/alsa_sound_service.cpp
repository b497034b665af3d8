#include "alsa_output.h"
#include "asound_library.h"
#include "decoder/wave_decoder.h"
#include "platform/sound_service.h"
#include "stream_identity.h"
#include "tone_file/tone_file.h"

#include <atomic>
#include <future>
#include <system_error>
#include <thread>
#include <utility>

namespace kt5::platform::alsa {

namespace {

// Beyond the sound's own length, how long the output may take to start and finish it.
constexpr auto kGrace = std::chrono::seconds(2);
// How long the caller waits past the deadline for the output to say itself why it stopped.
constexpr auto kReportMargin = std::chrono::milliseconds(500);

// One sound at a time for the whole process, whichever thread or service object asks: a
// second request is refused, never queued and never allowed to cut the first one off.
std::atomic_flag soundInProgress = ATOMIC_FLAG_INIT;

class SoundSlot {
public:
    SoundSlot()
        : held_(!soundInProgress.test_and_set(std::memory_order_acquire))
    {
    }
    SoundSlot(SoundSlot&& other) noexcept
        : held_(std::exchange(other.held_, false))
    {
    }
    SoundSlot(const SoundSlot&) = delete;
    SoundSlot& operator=(const SoundSlot&) = delete;
    SoundSlot& operator=(SoundSlot&&) = delete;
    ~SoundSlot() { release(); }

    bool held() const { return held_; }
    void release()
    {
        if (std::exchange(held_, false))
            soundInProgress.clear(std::memory_order_release);
    }

private:
    bool held_;
};

// The device is driven on a thread of its own. A sound server that stops answering holds a
// call inside its ALSA plugin for as long as it is stopped, and the caller, the window's
// thread, must not wait with it: the caller waits until the deadline and then gives up. The
// thread keeps the slot until its calls have returned, so sounds asked for meanwhile are
// refused at once rather than queued behind it, and the first asked for once the server
// answers again plays.
PlaybackResult playWithin(SoundSlot slot, decoder::DecodedSound sound, const AsoundApi& alsa)
{
    const auto length =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(sound.seconds()));
    const auto deadline = Clock::now() + length + kGrace;
    std::promise<PlaybackResult> promise;
    std::future<PlaybackResult> outcome = promise.get_future();
    try {
        std::thread([slot = std::move(slot), sound = std::move(sound), &alsa, deadline,
                     promise = std::move(promise)]() mutable {
            PlaybackResult result = playOnDefaultOutput(alsa, sound, deadline);
            slot.release(); // before the caller hears of it, so that its next sound may start
            promise.set_value(std::move(result));
        }).detach();
    } catch (const std::system_error& error) {
        return PlaybackFailure{PlaybackError::DeviceFailed, error.what()};
    }
    if (outcome.wait_until(deadline + kReportMargin) == std::future_status::timeout)
        return PlaybackFailure{PlaybackError::TimedOut, "the sound output stopped answering"};
    return outcome.get();
}

// The sound service on Linux: the file checked and decoded whole before the output opens, so
// that a bad file makes no sound at all; then ALSA's "default" PCM plays it.
class AlsaSoundService final : public SoundService {
public:
    PlaybackResult play(const NativeString& path) override
    {
        SoundSlot slot;
        if (!slot.held())
            return PlaybackFailure{PlaybackError::Busy};
        auto file = readToneFile(path);
        if (!file)
            return file.failure();
        auto sound = decoder::decodeWave(*file);
        if (!sound)
            return sound.failure();
        const BoundAsound& asound = asoundLibrary();
        if (asound.api == nullptr)
            return PlaybackFailure{PlaybackError::LibraryMissing, asound.error};
        return playWithin(std::move(slot), std::move(*sound), *asound.api);
    }
};

} // namespace

} // namespace kt5::platform::alsa

namespace kt5::platform {

std::unique_ptr<SoundService> createSoundService(const ProgramIdentity& identity)
{
    alsa::nameTheProgramsStreams(identity);
    return std::make_unique<alsa::AlsaSoundService>();
}

} // namespace kt5::platform
