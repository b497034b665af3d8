#include "policy/sound_slot.h"

#include <atomic>
#include <utility>

namespace kt5::platform::policy {

namespace {

// A process has one default output, so this state is the process's, not a service's: the
// sound that holds the slot (0: none), shifted left by one, and whether it was given up on.
// Atomics, constant-initialised and never torn down, so that a thread that outlived its play,
// even the program, may still release it.
constinit std::atomic<std::uint64_t> slotState{};
constinit std::atomic<std::uint64_t> lastSound{};
constexpr std::uint64_t kGivenUp = 1;

} // namespace

SoundSlot::SoundSlot()
    : sound_(++lastSound) // never 0, which is none
{
    std::uint64_t found = 0;
    held_ = slotState.compare_exchange_strong(found, sound_ << 1);
    takenByAGivenUpSound_ = !held_ && (found & kGivenUp) != 0;
}

SoundSlot::SoundSlot(SoundSlot&& other) noexcept
    : sound_(other.sound_)
    , held_(std::exchange(other.held_, false))
    , takenByAGivenUpSound_(other.takenByAGivenUpSound_)
{
}

PlaybackFailure SoundSlot::whyTaken() const
{
    return {takenByAGivenUpSound_ ? PlaybackError::NotAnswering : PlaybackError::Busy};
}

void SoundSlot::giveUp()
{
    std::uint64_t holding = sound_ << 1; // only while this sound holds it
    slotState.compare_exchange_strong(holding, holding | kGivenUp);
}

void SoundSlot::release()
{
    if (!std::exchange(held_, false))
        return;
    for (std::uint64_t state = slotState.load(); state >> 1 == sound_;)
        if (slotState.compare_exchange_weak(state, 0))
            return;
}

} // namespace kt5::platform::policy
