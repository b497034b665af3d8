#include "policy/play_within.h"

#include <future>
#include <system_error>
#include <thread>
#include <utility>

namespace kt5::platform::policy {

PlaybackResult playWithin(SoundSlot slot, Clock::duration length,
                          std::function<PlaybackResult(Clock::time_point deadline)> play,
                          const std::function<void()>& stop, PlaybackTimes times)
{
    const auto deadline = Clock::now() + length + times.grace;
    std::promise<PlaybackResult> promise;
    std::future<PlaybackResult> outcome = promise.get_future();
    try {
        std::thread([slot = std::move(slot), play = std::move(play), deadline,
                     promise = std::move(promise)]() mutable {
            PlaybackResult result = play(deadline);
            slot.release(); // before the caller hears of it, so that its next sound may start
            promise.set_value(std::move(result));
        }).detach();
    } catch (const std::system_error& error) {
        return PlaybackFailure{PlaybackError::DeviceFailed, error.what()};
    }
    if (outcome.wait_until(deadline + times.reportMargin) == std::future_status::ready)
        return outcome.get();
    if (stop)
        stop();
    return PlaybackFailure{PlaybackError::TimedOut, "the sound output stopped answering"};
}

} // namespace kt5::platform::policy
