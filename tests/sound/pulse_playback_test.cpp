// The real sound service on a device that plays in real time: a private PulseAudio server
// with a null sink, reached through ALSA's pulse plugin. Also what happens when that server
// stops answering, or dies, in the middle of a tone.
#include "platform/alsa/alsa_sound_service.h"
#include "support/alsa_redirect.h"
#include "support/printers.h"
#include "support/pulse_daemon.h"
#include "support/temp_dir.h"
#include "support/wave_files.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <future>
#include <thread>

namespace kt5::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using platform::PlaybackError;

// The null sink consumes in blocks of the 10 ms latency its clock stream asks for, so the
// last block may be taken up to that much before its time.
constexpr Seconds kSinkGranularity{0.015};
// The longest a tone may take beyond its length, however the server behaves: the grace the
// service allows, and a margin for a loaded machine.
constexpr Seconds kBound{2.5 + 0.5};

class RealTimePlayback : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(daemon.ready()) << "PulseAudio did not start";
        redirectAlsaDefault(home.path(), alsaToPulseServer(daemon.socket()));
    }

    fs::path toneOf(double seconds, const std::string& name)
    {
        const fs::path file = home / name;
        writeSound(file, sine(1477, seconds, 8000, 1), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        return file;
    }

    struct Timed {
        platform::PlaybackResult result;
        Seconds took;
    };
    Timed timedPlay(const fs::path& file)
    {
        const auto start = Clock::now();
        auto result = service.play(file.string());
        return {std::move(result), Clock::now() - start};
    }

    // Plays `file` until the output is free again, as a user clicking again would.
    platform::PlaybackResult playOnceFree(const fs::path& file)
    {
        platform::PlaybackResult result;
        waitUntil(
            [&] { return (result = service.play(file.string())).error != PlaybackError::Busy; },
            std::chrono::seconds(10));
        return result;
    }

    PulseDaemon daemon;
    TempDir home;
    platform::alsa::AlsaSoundService service;
};

TEST_F(RealTimePlayback, ReturnsOnlyWhenTheWholeSoundHasPlayed)
{
    for (const double seconds : {0.03, 0.8}) {
        const auto [result, took] = timedPlay(toneOf(seconds, "t.wav"));
        EXPECT_TRUE(result.played()) << platform::describe(result.error);
        EXPECT_GE(took, Seconds(seconds) - kSinkGranularity) << seconds << " s of audio";
    }
}

TEST_F(RealTimePlayback, SecondSoundWhileOneIsSoundingIsRefusedAtOnceWithoutCuttingIt)
{
    const Seconds length{1.2};
    const fs::path first = toneOf(length.count(), "first.wav");
    const fs::path second = toneOf(0.3, "second.wav");

    auto firstPlay = std::async(std::launch::async, [&] { return timedPlay(first); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Another thread and another service object: the rule holds for the whole process.
    platform::alsa::AlsaSoundService other;
    const auto start = Clock::now();
    const auto refused = other.play(second.string());
    const Seconds refusedAfter = Clock::now() - start;
    const auto [firstResult, firstTook] = firstPlay.get();

    EXPECT_EQ(refused.error, PlaybackError::Busy);
    EXPECT_LT(refusedAfter, length / 4) << "the second call waited behind the first";
    EXPECT_TRUE(firstResult.played());
    EXPECT_GE(firstTook, length - kSinkGranularity) << "the first sound was cut short";
    EXPECT_TRUE(other.play(second.string()).played()) << "the output was not released";
}

TEST_F(RealTimePlayback, ServerThatStopsAnsweringMidToneTimesOutAndIsUsedAgainOnceItAnswers)
{
    const Seconds length{0.8};
    const fs::path tone = toneOf(length.count(), "00.wav");
    auto play = std::async(std::launch::async, [&] { return timedPlay(tone); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    daemon.freeze();
    const auto [result, took] = play.get();
    daemon.thaw();

    EXPECT_EQ(result.error, PlaybackError::TimedOut);
    EXPECT_LT(took, length + kBound) << "the caller waited for the stopped server";
    EXPECT_TRUE(playOnceFree(tone).played());
}

TEST_F(RealTimePlayback, ServerThatDiesFailsAtOnceAndANewOneIsUsedByTheNextSound)
{
    const fs::path tone = toneOf(0.3, "04.wav");
    daemon.kill();
    const auto [result, took] = timedPlay(tone);
    EXPECT_EQ(result.error, PlaybackError::DeviceNotOpened);
    EXPECT_LT(took, Seconds(1));

    ASSERT_TRUE(daemon.start());
    EXPECT_TRUE(service.play(tone.string()).played());
}

} // namespace
} // namespace kt5::test
