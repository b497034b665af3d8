#include "policy/playback_policy.h"

#include "decoder/wave_decoder.h"
#include "sound_slot/sound_slot.h"
#include "tone_file/tone_file.h"

#include <future>
#include <system_error>
#include <thread>
#include <utility>

namespace kt5::platform::policy {

namespace {

class PolicedSoundService final : public SoundService {
public:
    PolicedSoundService(std::shared_ptr<SoundOutput> output, PlaybackTimes times)
        : output_(std::move(output))
        , times_(times)
    {
    }

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
        return playWithin(std::move(slot), std::move(*sound));
    }

private:
    // The output is driven on a thread of its own. A sound server that stops answering holds
    // a call inside its plugin for as long as it is stopped, and the caller, the window's
    // thread, must not wait with it: the caller waits until the deadline and then gives up.
    // The thread keeps the slot until its calls have returned, so sounds asked for meanwhile
    // are refused at once rather than queued behind it, and the first asked for once the
    // server answers again plays.
    PlaybackResult playWithin(SoundSlot slot, decoder::DecodedSound sound)
    {
        const auto length = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(sound.seconds()));
        const auto deadline = Clock::now() + length + times_.grace;
        std::promise<PlaybackResult> promise;
        std::future<PlaybackResult> outcome = promise.get_future();
        try {
            std::thread([slot = std::move(slot), sound = std::move(sound), output = output_,
                         deadline, promise = std::move(promise)]() mutable {
                PlaybackResult result = output->playWhole(sound, deadline);
                slot.release(); // before the caller hears of it, so that its next sound may start
                promise.set_value(std::move(result));
            }).detach();
        } catch (const std::system_error& error) {
            return PlaybackFailure{PlaybackError::DeviceFailed, error.what()};
        }
        if (outcome.wait_until(deadline + times_.reportMargin) == std::future_status::timeout)
            return PlaybackFailure{PlaybackError::TimedOut, "the sound output stopped answering"};
        return outcome.get();
    }

    std::shared_ptr<SoundOutput> output_;
    PlaybackTimes times_;
};

} // namespace

std::unique_ptr<SoundService> createPolicedService(std::shared_ptr<SoundOutput> output,
                                                   PlaybackTimes times)
{
    return std::make_unique<PolicedSoundService>(std::move(output), times);
}

} // namespace kt5::platform::policy
