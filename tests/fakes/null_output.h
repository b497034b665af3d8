#pragma once

#include "policy/sound_output.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

namespace kt5::test {

using platform::policy::Clock;

// An output that writes nowhere. It notes each sound it is given, with its deadline, and
// answers at once; or, while held, once let go, as a sound server that was stopped does.
class NullOutput final : public platform::policy::SoundOutput {
public:
    struct Given {
        int sampleRate;
        int channels;
        std::size_t frames;
        Clock::time_point deadline;
    };

    platform::PlaybackResult playWhole(const platform::decoder::DecodedSound& sound,
                                       Clock::time_point deadline) override
    {
        std::unique_lock lock(mutex_);
        given_.push_back({sound.sampleRate, sound.channels, sound.frames(), deadline});
        changed_.notify_all();
        changed_.wait(lock, [this] { return !held_; });
        lock.unlock();
        return answer ? answer(deadline) : platform::PlaybackResult{};
    }

    void hold()
    {
        const std::lock_guard lock(mutex_);
        held_ = true;
    }
    void letGo()
    {
        const std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }
    // Waits until `count` sounds have been given to it; whether they were.
    bool waitUntilGiven(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return given_.size() >= count; });
    }
    std::vector<Given> given()
    {
        const std::lock_guard lock(mutex_);
        return given_;
    }

    // How it answers once let go, given the deadline; played when empty. Set before use.
    std::function<platform::PlaybackResult(Clock::time_point)> answer;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    std::vector<Given> given_;
};

} // namespace kt5::test
