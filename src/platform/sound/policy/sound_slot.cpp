#include "policy/sound_slot.h"

#include <atomic>
#include <utility>

namespace kt5::platform::policy {

namespace {
// A process has one default output, so this one flag is the process's, not a service's.
std::atomic_flag soundInProgress = ATOMIC_FLAG_INIT;
} // namespace

SoundSlot::SoundSlot()
    : held_(!soundInProgress.test_and_set(std::memory_order_acquire))
{
}

SoundSlot::SoundSlot(SoundSlot&& other) noexcept
    : held_(std::exchange(other.held_, false))
{
}

void SoundSlot::release()
{
    if (std::exchange(held_, false))
        soundInProgress.clear(std::memory_order_release);
}

} // namespace kt5::platform::policy
