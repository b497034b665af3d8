#pragma once

#include "policy/sound_output.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

namespace kt5::test {

using platform::policy::Clock;

// An output that writes nowhere: it notes each sound it is given, with its deadline, and
// answers as `answer` says, or at once that it played. What it noted is read once its caller
// has returned; `calls` at any time.
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
        given.push_back({sound.sampleRate, sound.channels, sound.frames(), deadline});
        ++calls;
        return answer ? answer(deadline) : platform::PlaybackResult{};
    }

    std::function<platform::PlaybackResult(Clock::time_point deadline)> answer; // set before use
    std::vector<Given> given;
    std::atomic<int> calls = 0;
};

} // namespace kt5::test
