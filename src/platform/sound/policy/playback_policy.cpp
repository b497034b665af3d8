#include "policy/playback_policy.h"

#include "policy/sound_slot.h"

#include <future>
#include <iomanip>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace kt5::platform::policy {

namespace {

std::string secondsText(Clock::duration length)
{
    std::ostringstream text; // the classic locale's: the program sets no other
    text << std::fixed << std::setprecision(1) << std::chrono::duration<double>(length).count()
         << " s";
    return text.str();
}

// A stop may wait for as long as the output does not answer: it gets a thread of its own.
void stopOnAThreadOfItsOwn(std::shared_ptr<SoundOutput> output)
{
    try {
        std::thread([output = std::move(output)] { output->stop(); }).detach();
    } catch (const std::system_error&) {
        // No thread to stop it from: the sound is given up all the same.
    }
}

// Plays `sound` on a thread of its own, given its deadline (its length and the grace from
// now), and returns what it said; or, when it has not returned by the deadline and the
// margin, gives it up, has the output stop it, and says the output timed out. A sound system
// that stops answering can hold a call for as long as it is stopped, and the caller, the
// window's thread, must not wait with it. The thread keeps the slot until the play has
// returned, so sounds asked for meanwhile are refused at once rather than queued behind it,
// and the first asked for once the output answers again plays.
PlaybackResult playWithin(SoundSlot slot, ReadySound sound,
                          const std::shared_ptr<SoundOutput>& output, PlaybackTimes times)
{
    const Clock::duration length = sound.length();
    const auto deadline = Clock::now() + length + times.grace;
    const auto holder = std::make_shared<SoundSlot>(std::move(slot));
    std::promise<PlaybackResult> promise;
    std::future<PlaybackResult> outcome = promise.get_future();
    try {
        std::thread([holder, play = std::move(sound.play), deadline,
                     promise = std::move(promise)]() mutable {
            PlaybackResult result = play(deadline);
            holder->release(); // before the caller hears of it, so that its next sound may start
            promise.set_value(std::move(result));
        }).detach();
    } catch (const std::system_error& error) {
        return PlaybackFailure{PlaybackError::DeviceFailed, error.what()};
    }
    if (outcome.wait_until(deadline + times.reportMargin) == std::future_status::ready)
        return outcome.get();
    holder->giveUp();
    stopOnAThreadOfItsOwn(output);
    return PlaybackFailure{PlaybackError::TimedOut,
                           "the " + secondsText(length) + " tone had not ended " +
                               secondsText(times.grace + times.reportMargin) + " after its length"};
}

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
            return slot.whyTaken();
        auto file = readToneFile(path);
        if (!file)
            return file.failure();
        auto sound = output_->prepare(std::move(*file));
        if (!sound)
            return sound.failure();
        // The length as the output will play it, which for a decoded sound is what its
        // decoder yielded, whatever the header said.
        if (auto tooLong = longerThanATone(sound->frames, sound->sampleRate))
            return *tooLong;
        return playWithin(std::move(slot), std::move(*sound), output_, times_);
    }

private:
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
