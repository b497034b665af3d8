#pragma once

#include "platform/playback_result.h"

#include <cstdint>

namespace kt5::platform::policy {

// One sound at a time for the whole process, whichever thread or service object asks: the
// slot is held by the sound that took it until released or gone, and a second request finds
// it taken, to be refused, never queued and never allowed to cut the first one off. A sound
// given up on keeps it until its output returns; a request meanwhile is told so.
class SoundSlot {
public:
    SoundSlot(); // takes the slot, if it is free
    SoundSlot(SoundSlot&& other) noexcept;
    SoundSlot(const SoundSlot&) = delete;
    SoundSlot& operator=(const SoundSlot&) = delete;
    SoundSlot& operator=(SoundSlot&&) = delete;
    ~SoundSlot() { release(); }

    bool held() const { return held_; }
    // Why the slot was not free when this one asked for it.
    PlaybackFailure whyTaken() const;
    // The sound that holds the slot has been given up on, its output still not returned.
    // Safe from another thread than release()'s.
    void giveUp();
    void release();

private:
    // Which sound this is, held or not; set once, so that giveUp() may read it from any thread.
    std::uint64_t sound_;
    bool held_;
    bool takenByAGivenUpSound_; // why not, when it did not take it
};

} // namespace kt5::platform::policy
