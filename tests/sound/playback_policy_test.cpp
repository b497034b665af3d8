// The rules every Linux sound service keeps, over an output that writes nowhere: nothing of a
// refused file reaches it, one sound at a time, and an output that stops answering given up at
// the deadline and the margin in which it may say why. (What only a real sound server shows,
// sound_stack_test shows.)
#include "policy/playback_policy.h"
#include "sound/playback.h"
#include "testing/child_process.h"
#include "testing/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <utility>

namespace kt5::test {
namespace {

using namespace std::chrono_literals;
using platform::PlaybackError;
using platform::policy::Clock;
using platform::policy::createPolicedService;
using platform::policy::PlaybackTimes;

// Writes nowhere: counts the sounds it is given, and answers as `answer` says, or at once that
// it played.
struct NullOutput final : platform::policy::SoundOutput {
    platform::PlaybackResult playWhole(const platform::decoder::DecodedSound&,
                                       Clock::time_point deadline) override
    {
        ++calls;
        return answer ? answer(deadline) : platform::PlaybackResult{};
    }
    std::function<platform::PlaybackResult(Clock::time_point deadline)> answer; // set before use
    std::atomic<int> calls = 0;
};

class PlaybackPolicy : public testing::Test {
protected:
    void SetUp() override { std::ofstream(tone, std::ios::binary) << waveFile(0.1); }
    // No sound of a test may hold the next test's output.
    void TearDown() override
    {
        letGo();
        EXPECT_EQ(playOnceFree(std::make_shared<NullOutput>()), "played");
    }

    std::unique_ptr<platform::SoundService> service(PlaybackTimes times = {}) const
    {
        return createPolicedService(output, times);
    }
    // Holds each sound given to the output until let go, as a stopped sound server does.
    void hold()
    {
        output->answer = [released = released_.get_future().share()](Clock::time_point) {
            released.wait();
            return platform::PlaybackResult{};
        };
    }
    void letGo()
    {
        if (!std::exchange(letGone_, true))
            released_.set_value();
    }
    // Plays on `on` once no other sound holds the output (the thread of one that was given up
    // may still be on its way out): what the play said.
    std::string playOnceFree(const std::shared_ptr<NullOutput>& on) const
    {
        std::string said;
        waitUntil(
            [&] {
                said = outcome(createPolicedService(on)->play(tone));
                return !said.starts_with(describe(PlaybackError::Busy));
            },
            std::chrono::seconds(10));
        return said;
    }

    TempDir dir;
    const std::string tone = (dir / "tone.wav").string(); // 0.1 s, 800 frames at 8 kHz
    std::shared_ptr<NullOutput> output = std::make_shared<NullOutput>();

private:
    std::promise<void> released_;
    bool letGone_ = false;
};

TEST_F(PlaybackPolicy, NothingOfAFileThatCannotBePlayedWholeReachesTheOutput)
{
    const std::string whole = waveFile(0.1);
    std::ofstream(dir / "half.wav", std::ios::binary) << whole.substr(0, whole.size() / 2);
    EXPECT_EQ(failureOf(service()->play((dir / "half.wav").string())), PlaybackError::DataCutShort);
    EXPECT_EQ(output->calls, 0);
}

TEST_F(PlaybackPolicy, OneSoundAtATimeForTheProcessTheNextRefusedAtOnceNeverQueuedOrCut)
{
    hold();
    auto first = std::async(std::launch::async, [&] { return outcome(service()->play(tone)); });
    ASSERT_TRUE(waitUntil([&] { return output->calls == 1; }, std::chrono::seconds(10)));
    EXPECT_EQ(failureOf(service()->play(tone)), PlaybackError::Busy) << "from another service";
    EXPECT_EQ(output->calls, 1) << "the second was queued";
    letGo();
    EXPECT_EQ(first.get(), "played") << "the first was cut";
    // Free the moment its caller hears: quick clicks in a row each play.
    for (int click = 0; click < 1000; ++click)
        ASSERT_EQ(outcome(service()->play(tone)), "played") << "click " << click;
}

TEST_F(PlaybackPolicy, AStoppedOutputIsGivenUpAtTheDeadlineAndKeptUntilItAnswers)
{
    const PlaybackTimes times{.grace = 50ms, .reportMargin = 50ms};
    hold();
    const auto start = Clock::now();
    const platform::PlaybackResult stopped = service(times)->play(tone);
    EXPECT_EQ(failureOf(stopped), PlaybackError::TimedOut) << outcome(stopped);
    EXPECT_GE(Clock::now() - start, 100ms + times.grace + times.reportMargin) << "before time";
    EXPECT_EQ(failureOf(service(times)->play(tone)), PlaybackError::Busy)
        << "played over the stopped one";
    letGo();
    EXPECT_EQ(playOnceFree(output), "played") << "once the output answered";
}

} // namespace
} // namespace kt5::test
