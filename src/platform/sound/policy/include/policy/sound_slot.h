#pragma once

namespace kt5::platform::policy {

// One sound at a time for the whole process, whichever thread or service object asks: the
// slot is held by the sound that took it until released or gone, and a second request finds
// it taken, to be refused, never queued and never allowed to cut the first one off.
class SoundSlot {
public:
    SoundSlot(); // takes the slot, if it is free
    SoundSlot(SoundSlot&& other) noexcept;
    SoundSlot(const SoundSlot&) = delete;
    SoundSlot& operator=(const SoundSlot&) = delete;
    SoundSlot& operator=(SoundSlot&&) = delete;
    ~SoundSlot() { release(); }

    bool held() const { return held_; }
    void release();

private:
    bool held_;
};

} // namespace kt5::platform::policy
